#include <gtest/gtest.h>

#include "app/owner/json_value.h"
#include "app/owner/owner_client.h"
#include "app/owner/owner_protocol.h"

namespace kvrns {
namespace {

using owner::parseJson;

TEST(Json, ReadsWhatItMustAndRefusesTheRest)
{
    const char* good[] = {R"({"a":[1,-2.5e3,true,false,null],"b":{"c":"d"}})", R"("\u00e9\ud83d\ude00\n")", " [ ] ",
                          "0"};
    for (const char* text : good) EXPECT_TRUE(parseJson(text)) << text;
    const char* bad[] = {"",        "{",           "{\"a\":}", "[1,]",  "\"open",        "tru",   "{} {}",
                         "\"\\x\"", "\"\\ud800\"", "{a:1}",    "[1 2]", "\"tab\there\"", "1.2.3", "--1"};
    for (const char* text : bad) {
        std::string problem;
        EXPECT_FALSE(parseJson(text, &problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
    }
    EXPECT_FALSE(parseJson(std::string(10000, '[') + std::string(10000, ']')));  // no stack to exhaust
}

TEST(Json, StringsSurviveTheRoundTrip)
{
    const std::string texts[] = {"plain", "quote \" and backslash \\", "line\nbreak\ttab\x01", "Jörg's € file",
                                 std::string("stray \xff byte")};
    for (const auto& text : texts) {
        const auto back = parseJson(owner::quoteJson(text));
        ASSERT_TRUE(back && back->asString()) << text;
        if (text.find('\xff') == std::string::npos)
            EXPECT_EQ(*back->asString(), text);
        else
            EXPECT_EQ(*back->asString(), "stray \u00ff byte");  // escaped, never a broken line
    }
    EXPECT_EQ(owner::quoteJson("Jörg"), "\"Jörg\"");
}

TEST(OwnerProtocol, RequestsRoundTrip)
{
    const owner::Request requests[] = {
        {}, {owner::RequestKind::Tune, 3, 6, 1}, {owner::RequestKind::Rail, 0, 0, 0}, {owner::RequestKind::Rail}};
    for (const auto& request : requests) {
        const auto decoded = owner::decodeRequest(owner::encodeRequest(request));
        ASSERT_TRUE(std::holds_alternative<owner::Request>(decoded)) << owner::encodeRequest(request);
        EXPECT_EQ(std::get<owner::Request>(decoded), request);
    }
}

TEST(OwnerProtocol, BadRequestsAreRefusedWithAReason)
{
    const std::pair<std::string, std::string> cases[] = {
        {"hello", "not JSON"},
        {R"({"want":"snapshot"})", "names no \"request\""},
        {R"({"request":"reboot"})", "unknown request 'reboot'"},
        {R"({"request":"tune","rail":4,"step":5})", "rail\" 1 to 3"},
        {R"({"request":"tune","rail":3,"step":5.5})", "\"step\" 1 to 9"},
        {R"({"request":"tune","rail":3})", "\"step\" 1 to 9"},
        {R"({"request":"rail","mode":"double"})", "single or multi"},
    };
    for (const auto& [line, reason] : cases) {
        const auto decoded = owner::decodeRequest(line);
        ASSERT_TRUE(std::holds_alternative<std::string>(decoded)) << line;
        EXPECT_NE(std::get<std::string>(decoded).find(reason), std::string::npos) << std::get<std::string>(decoded);
    }
}

TEST(OwnerProtocol, SnapshotsCarryTheWholeCycle)
{
    owner::Snapshot s;
    s.cycle = 42;
    s.simulated = true;
    s.report.kind = TickKind::Cycle;
    s.report.devicePresent = true;
    s.report.telemetry.outputPower = "255";
    s.report.telemetry.inputVoltage = "230,00";
    s.report.warnings = {{warnings::WarningKind::OverCurrent, 2}, {warnings::WarningKind::OverTemperature, 0}};
    std::string problem;
    const auto reply = owner::decodeReply(owner::encodeSnapshot(s), owner::RequestKind::Snapshot, &problem);
    ASSERT_TRUE(reply && reply->snapshot) << problem;
    EXPECT_EQ(reply->snapshot->cycle, 42u);
    EXPECT_TRUE(reply->snapshot->simulated);
    EXPECT_EQ(reply->snapshot->report.telemetry, s.report.telemetry);
    EXPECT_EQ(reply->snapshot->report.warnings, s.report.warnings);
    EXPECT_TRUE(reply->snapshot->report.devicePresent);

    s.report.kind = TickKind::Failed;
    s.report.error = "The error occurred while Read USB !";
    const auto failed = owner::decodeReply(owner::encodeSnapshot(s), owner::RequestKind::Snapshot, &problem);
    ASSERT_TRUE(failed && failed->snapshot);
    EXPECT_EQ(failed->snapshot->report.kind, TickKind::Failed);
    EXPECT_EQ(failed->snapshot->report.error, s.report.error);
}

TEST(OwnerProtocol, RepliesThatAreNotOnesAreRefused)
{
    const std::string lines[] = {"", "[]", R"({"cycle":1})", R"({"ok":true,"cycle":1,"kind":"cycle"})",
                                 R"({"ok":true,"cycle":1,"kind":"nap","telemetry":{},"warnings":[]})"};
    for (const auto& line : lines) {
        std::string problem;
        EXPECT_FALSE(owner::decodeReply(line, owner::RequestKind::Snapshot, &problem)) << line;
        EXPECT_FALSE(problem.empty());
    }
    const auto refused = owner::decodeReply(owner::encodeError("busy"), owner::RequestKind::Tune, nullptr);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->error, "busy");

    const owner::ChangeOutcome change{true, true, 6, false, "/home/jörg/TALVORN.txt", "read only"};
    const auto back = owner::decodeReply(owner::encodeChange(change), owner::RequestKind::Tune, nullptr);
    ASSERT_TRUE(back && back->change);
    EXPECT_EQ(back->change->valueInForce, 6);
    EXPECT_EQ(back->change->settingsPath, change.settingsPath);
    EXPECT_EQ(back->change->storeError, change.storeError);
    EXPECT_FALSE(back->change->stored);
}

TEST(OwnerProtocol, TheSocketIsWhereTheDashboardListens)
{
    struct Case {
        const char* tmpdir;
        const char* user;
        const char* username;
        std::string path;
    };
    const Case cases[] = {
        {nullptr, "ada", nullptr, "/tmp/kvrns-dashboard-ada"},
        {"/run/user/1000/", "ada", "other", "/run/user/1000/kvrns-dashboard-ada"},
        {"/var//tmp/./x", nullptr, "bob", "/var/tmp/x/kvrns-dashboard-bob"},
        {"", "", nullptr, "/tmp/kvrns-dashboard-"},
    };
    for (const auto& c : cases) {
        const auto env = [&c](const char* name) -> const char* {
            const std::string n(name);
            return n == "TMPDIR" ? c.tmpdir : n == "USER" ? c.user : n == "USERNAME" ? c.username : nullptr;
        };
        EXPECT_EQ(owner::dashboardSocketPath(env), c.path);
    }
    EXPECT_FALSE(owner::DashboardClient::connect("/nonexistent/kvrns-dashboard-nobody"));
    EXPECT_FALSE(owner::DashboardClient::connect(std::string(200, 'x')));
}

}  // namespace
}  // namespace kvrns
