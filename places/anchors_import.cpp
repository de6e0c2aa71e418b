// ImportAnchorsJson: the anchors of the RIPE Atlas anchors API in the
// lower 48.
#include <cmath>

#include "places/host_import.h"
#include "places/json_reader.h"
#include "places/target_collector.h"

namespace lumetra {
namespace {

constexpr std::string_view kCountry = "US";
constexpr std::string_view kDefaultInfo = "RIPE Atlas anchor";

// The list of anchors: the whole value, or its "results".
const JsonValue* AnchorList(const JsonValue& document) {
    if (document.kind == JsonValue::Kind::kArray) return &document;
    const JsonValue* results = document.Find("results");
    return results != nullptr && results->kind == JsonValue::Kind::kArray ? results : nullptr;
}

// The member `key` if it is a string that is not empty, else "".
std::string_view TextOf(const JsonValue& anchor, std::string_view key) {
    const JsonValue* value = anchor.Find(key);
    return value != nullptr && value->kind == JsonValue::Kind::kString ? std::string_view(value->text) : "";
}

// "anchor 3", with the anchor's id when it has a whole-number one.
std::string Label(std::size_t index, const JsonValue& anchor) {
    std::string label = "anchor " + std::to_string(index);
    const JsonValue* id = anchor.Find("id");
    if (id != nullptr && id->kind == JsonValue::Kind::kNumber && std::trunc(id->number) == id->number &&
        std::fabs(id->number) < 1e15) {
        label += " (id " + std::to_string(static_cast<long long>(id->number)) + ")";
    }
    return label;
}

// [longitude, latitude] from "geometry": {"coordinates": [...]}.
const JsonValue* Coordinates(const JsonValue& anchor) {
    const JsonValue* geometry = anchor.Find("geometry");
    const JsonValue* coordinates = geometry != nullptr ? geometry->Find("coordinates") : nullptr;
    if (coordinates == nullptr || coordinates->kind != JsonValue::Kind::kArray || coordinates->items.size() < 2 ||
        coordinates->items[0].kind != JsonValue::Kind::kNumber ||
        coordinates->items[1].kind != JsonValue::Kind::kNumber) {
        return nullptr;
    }
    return coordinates;
}

void AddAnchor(CTargetCollector& collector, std::size_t index, const JsonValue& anchor) {
    if (anchor.kind != JsonValue::Kind::kObject) {
        collector.AddProblem(anchor.nLine, "anchor " + std::to_string(index), "not an object");
        return;
    }
    const std::string label = Label(index, anchor);
    const JsonValue* country = anchor.Find("country");
    if (country == nullptr || country->kind != JsonValue::Kind::kString) {
        collector.AddProblem(anchor.nLine, label, "no country");
        return;
    }
    if (country->text != kCountry) {
        collector.CountSkipped();
        return;
    }
    const JsonValue* coordinates = Coordinates(anchor);
    if (coordinates == nullptr) {
        collector.AddProblem(anchor.nLine, label, "no coordinates");
        return;
    }
    TargetFields fields;
    fields.host = TextOf(anchor, "fqdn");
    if (fields.host.empty()) {
        collector.AddProblem(anchor.nLine, label, "no host name (fqdn)");
        return;
    }
    fields.info = TextOf(anchor, "company");
    if (fields.info.empty()) fields.info = kDefaultInfo;
    if (const std::string_view city = TextOf(anchor, "city"); !city.empty()) fields.note = city;
    collector.Add(anchor.nLine, label, fields, coordinates->items[1].number, coordinates->items[0].number);
}

}  // namespace

ImportOutcome ImportAnchorsJson(std::string_view text, const CLandMask& land) {
    const std::variant<JsonValue, JsonError> parsed = ParseJson(text);
    if (const auto* error = std::get_if<JsonError>(&parsed)) {
        return ImportError{error->nLine, error->message + " (column " + std::to_string(error->nColumn) + ")"};
    }
    const JsonValue* anchors = AnchorList(std::get<JsonValue>(parsed));
    if (anchors == nullptr) return ImportError{1, "expected a list of anchors, or an object with a \"results\" list"};
    CTargetCollector collector(land);
    for (std::size_t i = 0; i < anchors->items.size(); ++i) AddAnchor(collector, i + 1, anchors->items[i]);
    return collector.Take();
}

}  // namespace lumetra
