// The hidapi backend against a stand-in for the library: the report-ID
// convention and report lengths no simulated supply can show.
#include <gtest/gtest.h>
#include <hidapi.h>

#include <cstring>
#include <vector>

#include "device/device_link.h"
#include "device/hidapi_backend.h"
#include "device/report_descriptor.h"

namespace kvrns {
namespace {

// The stand-in library's state; the calls are plain functions, so it lives here.
struct FakeLibrary {
    std::vector<std::uint8_t> lastWrite;
    std::vector<std::uint8_t> nextRead;  // as hidapi delivers it
    int readResult = 0;                  // overrides when nextRead is empty
    std::size_t lastReadLength = 0;
    std::vector<std::uint8_t> descriptor;
    int closes = 0;
    hid_device_info infos[2]{};
    char paths[2][16] = {"/dev/hidraw0", "/dev/hidraw1"};
} lib;

hid_device* const kHandle = reinterpret_cast<hid_device*>(0x1);

int fakeInit()
{
    return 0;
}
hid_device_info* fakeEnumerate(unsigned short, unsigned short)
{
    lib.infos[0] = {};
    lib.infos[1] = {};
    lib.infos[0].path = lib.paths[0];
    lib.infos[0].vendor_id = 0x046D;
    lib.infos[0].product_id = 0xC52B;
    lib.infos[0].next = &lib.infos[1];
    lib.infos[1].path = lib.paths[1];
    lib.infos[1].vendor_id = 0x04D8;
    lib.infos[1].product_id = 0xF590;
    return &lib.infos[0];
}
void fakeFree(hid_device_info*) {}
hid_device* fakeOpen(const char*)
{
    return kHandle;
}
int fakeWrite(hid_device*, const unsigned char* data, std::size_t length)
{
    lib.lastWrite.assign(data, data + length);
    return static_cast<int>(length);
}
int fakeRead(hid_device*, unsigned char* data, std::size_t length, int)
{
    lib.lastReadLength = length;
    if (lib.nextRead.empty()) return lib.readResult;
    const std::size_t n = std::min(length, lib.nextRead.size());
    std::memcpy(data, lib.nextRead.data(), n);
    return static_cast<int>(n);
}
void fakeClose(hid_device*)
{
    ++lib.closes;
}
int fakeDescriptor(hid_device*, unsigned char* buffer, std::size_t size)
{
    const std::size_t n = std::min(size, lib.descriptor.size());
    std::memcpy(buffer, lib.descriptor.data(), n);
    return lib.descriptor.empty() ? -1 : static_cast<int>(n);
}

device::HidApiCalls fakeCalls(bool withDescriptor)
{
    return {fakeInit,  fakeEnumerate, fakeFree,  fakeOpen,
            fakeWrite, fakeRead,      fakeClose, withDescriptor ? fakeDescriptor : nullptr};
}

class HidapiBackendTest : public testing::Test {
protected:
    void SetUp() override { lib = FakeLibrary{}; }
};

TEST_F(HidapiBackendTest, EnumeratesEveryInterfaceInOrder)
{
    device::HidapiBackend backend(fakeCalls(false));
    const auto found = backend.enumerate();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1].path, "/dev/hidraw1");
    EXPECT_EQ(found[1].productId, 0xF590);
}

TEST_F(HidapiBackendTest, UnnumberedReportsGetTheirIdByteBackAtIndexZero)
{
    device::HidapiBackend backend(fakeCalls(false));
    device::DeviceLink link(backend);
    ASSERT_TRUE(link.FindTheHid());
    link.devicePresent = true;
    link.writeFrame("00 83 02 40 28 00 00");
    // hid_write takes the report-ID byte first, as the report holds it.
    ASSERT_EQ(lib.lastWrite.size(), 65u);
    EXPECT_EQ(lib.lastWrite[0], 0x00);
    EXPECT_EQ(lib.lastWrite[1], 0x83);
    // hid_read delivers the report without its ID byte.
    lib.nextRead = {0x83, 0x00, 0x40, 0x28, 0x0D, 0xCE};
    link.readInputReport();
    EXPECT_TRUE(link.devicePresent);
    EXPECT_EQ(lib.lastReadLength, 64u);
    EXPECT_EQ(link.inputReport[0], 0x00);
    EXPECT_EQ(link.inputReport[1], 0x83);
    EXPECT_EQ(link.inputReport[4], 0x28);
    EXPECT_EQ(link.inputReport[6], 0xCE);
}

TEST_F(HidapiBackendTest, ZeroBytesIsATimeOutAndMinusOneAFailure)
{
    device::HidapiBackend backend(fakeCalls(false));
    device::DeviceLink link(backend);
    link.devicePresent = link.FindTheHid();
    lib.readResult = -1;
    link.readInputReport();
    EXPECT_FALSE(link.devicePresent);
    EXPECT_EQ(lib.closes, 0);
    link.devicePresent = true;
    lib.readResult = 0;
    link.readInputReport();
    EXPECT_FALSE(link.devicePresent);
    EXPECT_EQ(lib.closes, 1);
}

// Input and output reports of 64 data bytes, no report ID.
const std::vector<std::uint8_t> kVendorDescriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00,
                                                     0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x40, 0x09, 0x01,
                                                     0x81, 0x02, 0x95, 0x40, 0x09, 0x01, 0x91, 0x02, 0xC0};

TEST_F(HidapiBackendTest, LengthsComeFromTheDescriptorAndAreClipped)
{
    lib.descriptor = kVendorDescriptor;
    lib.descriptor[15] = 0x80;  // 128-byte input reports
    device::HidapiBackend backend(fakeCalls(true));
    device::DeviceLink link(backend);
    ASSERT_TRUE(link.FindTheHid());
    EXPECT_EQ(link.InputReportByteLength, 65);
    EXPECT_EQ(link.OutputReportByteLength, 65);
    link.devicePresent = true;
    lib.nextRead = {0x90};
    link.readInputReport();
    EXPECT_EQ(lib.lastReadLength, 64u);  // never past index 64
}

TEST(ReportDescriptor, LengthsIncludeTheIdByte)
{
    const auto facts = device::parseReportDescriptor(kVendorDescriptor);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->lengths.input, 65);
    EXPECT_EQ(facts->lengths.output, 65);
    EXPECT_FALSE(facts->numberedReports);
}

TEST(ReportDescriptor, NumberedReportsTakeTheLargest)
{
    const std::vector<std::uint8_t> d = {0x85, 0x01, 0x75, 0x08, 0x95, 0x08, 0x81,
                                         0x02, 0x85, 0x02, 0x95, 0x20, 0x81, 0x02};
    const auto facts = device::parseReportDescriptor(d);
    ASSERT_TRUE(facts);
    EXPECT_TRUE(facts->numberedReports);
    EXPECT_EQ(facts->lengths.input, 33);
}

TEST(ReportDescriptor, TruncatedOrEmptyIsRefused)
{
    EXPECT_FALSE(device::parseReportDescriptor(std::vector<std::uint8_t>{0x75}));
    EXPECT_FALSE(device::parseReportDescriptor(std::vector<std::uint8_t>{}));
    EXPECT_FALSE(device::parseReportDescriptor(std::vector<std::uint8_t>{0xB4}));  // pop without push
}

}  // namespace
}  // namespace kvrns
