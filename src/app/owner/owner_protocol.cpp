#include "app/owner/owner_protocol.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/owner/json_value.h"

namespace kvrns::owner {
namespace {

struct WarningName {
    warnings::WarningKind kind;
    std::string_view name;
};
constexpr WarningName kWarningNames[] = {
    {warnings::WarningKind::OverCurrent, "over-current"},
    {warnings::WarningKind::OverVoltage, "over-voltage"},
    {warnings::WarningKind::OverTemperature, "over-temperature"},
};

struct TickKindName {
    TickKind kind;
    std::string_view name;
};
constexpr TickKindName kTickKindNames[] = {
    {TickKind::Cycle, "cycle"}, {TickKind::Rediscovery, "rediscovery"}, {TickKind::Failed, "failed"}};

std::string boolText(bool value)
{
    return value ? "true" : "false";
}

const std::string* stringMember(const JsonValue& json, std::string_view name)
{
    const JsonValue* value = json.member(name);
    return value ? value->asString() : nullptr;
}

bool boolMember(const JsonValue& json, std::string_view name, bool fallback = false)
{
    const JsonValue* value = json.member(name);
    const bool* b = value ? value->asBool() : nullptr;
    return b ? *b : fallback;
}

// A whole number member within [low, high].
std::optional<long long> wholeMember(const JsonValue& json, std::string_view name, double low, double high)
{
    const JsonValue* value = json.member(name);
    const double* number = value ? value->asNumber() : nullptr;
    if (!number || *number != std::floor(*number) || *number < low || *number > high) return std::nullopt;
    return static_cast<long long>(*number);
}

std::string encodeWarnings(const std::vector<warnings::Warning>& list)
{
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::string_view name = "over-current";
        for (const auto& w : kWarningNames)
            if (w.kind == list[i].kind) name = w.name;
        out += (i ? "," : "") + std::string("{\"kind\":") + quoteJson(name) +
               ",\"rail\":" + std::to_string(list[i].rail) + "}";
    }
    return out + "]";
}

bool decodeWarnings(const JsonValue* json, std::vector<warnings::Warning>& out)
{
    const JsonValue::Array* items = json ? json->asArray() : nullptr;
    if (!items) return false;
    for (const JsonValue& item : *items) {
        const std::string* name = stringMember(item, "kind");
        const auto rail = wholeMember(item, "rail", 0, 4);
        if (!name || !rail) return false;
        const auto found = std::find_if(std::begin(kWarningNames), std::end(kWarningNames),
                                        [&](const WarningName& w) { return w.name == *name; });
        if (found == std::end(kWarningNames)) return false;
        out.push_back({found->kind, static_cast<int>(*rail)});
    }
    return true;
}

std::optional<Snapshot> decodeSnapshot(const JsonValue& json)
{
    Snapshot s;
    const auto cycle = wholeMember(json, "cycle", 0, 9007199254740992.0);
    const std::string* kind = stringMember(json, "kind");
    const JsonValue* telemetry = json.member("telemetry");
    if (!cycle || !kind || !telemetry || !telemetry->asObject()) return std::nullopt;
    s.cycle = static_cast<std::uint64_t>(*cycle);
    s.simulated = boolMember(json, "simulated");
    s.report.devicePresent = boolMember(json, "present");
    const auto k = std::find_if(std::begin(kTickKindNames), std::end(kTickKindNames),
                                [&](const TickKindName& n) { return n.name == *kind; });
    if (k == std::end(kTickKindNames)) return std::nullopt;
    s.report.kind = k->kind;
    for (const auto& field : kTelemetryFields) {
        const std::string* text = stringMember(*telemetry, field.name);
        if (!text) return std::nullopt;
        s.report.telemetry.*(field.member) = *text;
    }
    if (!decodeWarnings(json.member("warnings"), s.report.warnings)) return std::nullopt;
    if (const std::string* failure = stringMember(json, "failure")) s.report.error = *failure;
    if (const std::string* detail = stringMember(json, "failureDetail")) s.report.errorDetail = *detail;
    return s;
}

ChangeOutcome decodeChange(const JsonValue& json)
{
    ChangeOutcome c;
    c.sent = boolMember(json, "sent");
    c.acknowledged = boolMember(json, "acknowledged");
    c.valueInForce = static_cast<int>(wholeMember(json, "value", -1, 255).value_or(-1));
    c.stored = boolMember(json, "stored");
    if (const std::string* path = stringMember(json, "settings")) c.settingsPath = *path;
    if (const std::string* error = stringMember(json, "storeError")) c.storeError = *error;
    return c;
}

}  // namespace

std::string dashboardKey(const std::function<const char*(const char*)>& env)
{
    const char* user = env("USER");
    if (!user || !*user) user = env("USERNAME");
    return std::string("kvrns-dashboard-") + (user ? user : "");
}

std::string dashboardSocketPath(const std::function<const char*(const char*)>& env)
{
    const char* tmp = env("TMPDIR");
    std::string folder = tmp && *tmp ? std::filesystem::path(tmp).lexically_normal().string() : "/tmp";
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder + "/" + dashboardKey(env);
}

std::string encodeRequest(const Request& request)
{
    switch (request.kind) {
        case RequestKind::Snapshot: return "{\"request\":\"snapshot\"}";
        case RequestKind::Tune:
            return "{\"request\":\"tune\",\"rail\":" + std::to_string(request.usbAdj) +
                   ",\"step\":" + std::to_string(request.step) + "}";
        case RequestKind::Rail:
            return std::string("{\"request\":\"rail\",\"mode\":\"") + (request.railMode == 0 ? "single" : "multi") +
                   "\"}";
    }
    return {};
}

std::variant<Request, std::string> decodeRequest(std::string_view line)
{
    std::string problem;
    const auto json = parseJson(line, &problem);
    if (!json) return "the request is not JSON: " + problem;
    const std::string* name = stringMember(*json, "request");
    if (!name) return std::string("the request names no \"request\"");
    Request request;
    if (*name == "snapshot") return request;
    if (*name == "tune") {
        const auto rail = wholeMember(*json, "rail", 1, 3);
        const auto step = wholeMember(*json, "step", 1, 9);
        if (!rail || !step) return std::string("tune takes \"rail\" 1 to 3 and \"step\" 1 to 9");
        return Request{RequestKind::Tune, static_cast<int>(*rail), static_cast<int>(*step), 1};
    }
    if (*name == "rail") {
        const std::string* mode = stringMember(*json, "mode");
        if (!mode || (*mode != "single" && *mode != "multi")) return std::string("rail takes \"mode\" single or multi");
        return Request{RequestKind::Rail, 0, 0, *mode == "single" ? 0 : 1};
    }
    return "unknown request '" + *name + "'";
}

std::string encodeSnapshot(const Snapshot& s)
{
    std::string kind = "cycle";
    for (const auto& k : kTickKindNames)
        if (k.kind == s.report.kind) kind = k.name;
    std::string out = "{\"ok\":true,\"cycle\":" + std::to_string(s.cycle) + ",\"simulated\":" + boolText(s.simulated) +
                      ",\"kind\":\"" + kind + "\",\"present\":" + boolText(s.report.devicePresent) + ",\"telemetry\":{";
    for (std::size_t i = 0; i < kTelemetryFields.size(); ++i)
        out += (i ? "," : "") + quoteJson(kTelemetryFields[i].name) + ":" +
               quoteJson(s.report.telemetry.*(kTelemetryFields[i].member));
    out += "},\"warnings\":" + encodeWarnings(s.report.warnings);
    if (s.report.kind == TickKind::Failed)
        out += ",\"failure\":" + quoteJson(s.report.error) + ",\"failureDetail\":" + quoteJson(s.report.errorDetail);
    return out + "}";
}

std::string encodeChange(const ChangeOutcome& c)
{
    return "{\"ok\":true,\"sent\":" + boolText(c.sent) + ",\"acknowledged\":" + boolText(c.acknowledged) +
           ",\"value\":" + std::to_string(c.valueInForce) + ",\"stored\":" + boolText(c.stored) +
           ",\"settings\":" + quoteJson(c.settingsPath) + ",\"storeError\":" + quoteJson(c.storeError) + "}";
}

std::string encodeError(std::string_view message)
{
    return "{\"ok\":false,\"error\":" + quoteJson(message) + "}";
}

std::optional<Reply> decodeReply(std::string_view line, RequestKind kind, std::string* problem)
{
    auto fail = [&](std::string why) -> std::optional<Reply> {
        if (problem) *problem = std::move(why);
        return std::nullopt;
    };
    std::string parseProblem;
    const auto json = parseJson(line, &parseProblem);
    if (!json) return fail("the reply is not JSON: " + parseProblem);
    const JsonValue* ok = json->member("ok");
    if (!ok || !ok->asBool()) return fail("the reply carries no \"ok\"");
    Reply reply;
    if (!*ok->asBool()) {
        const std::string* error = stringMember(*json, "error");
        reply.error = error && !error->empty() ? *error : "the dashboard refused the request";
        return reply;
    }
    if (kind != RequestKind::Snapshot) {
        reply.change = decodeChange(*json);
        return reply;
    }
    reply.snapshot = decodeSnapshot(*json);
    if (!reply.snapshot) return fail("the snapshot is incomplete");
    return reply;
}

}  // namespace kvrns::owner
