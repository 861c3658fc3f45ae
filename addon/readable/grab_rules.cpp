#include "addon/readable/grab_rules.h"

#include "addon/page/xml_config.h"
#include "common/util/text_conversion.h"
#include "common/xml/xml_node_list.h"

namespace addon {
namespace {

GrabRules& processRules() {
    static GrabRules rules;
    return rules;
}

struct Table {
    const wchar_t* name;
    std::vector<GrabRow> GrabRules::*rows;
};

constexpr Table kTables[] = {
    {L"tagRanks", &GrabRules::tagRanks}, {L"tagRanks2", &GrabRules::tagRanks2},
    {L"idRanks", &GrabRules::idRanks},   {L"classRanks", &GrabRules::classRanks},
    {L"tagChars", &GrabRules::tagChars},
};

// Calls `take(name, value)` for every "item" child of `section`.
template <class Take>
void forEachItem(const common::CXMLDOMNode& section, Take take) {
    for (const auto& item : childElementsNamed(section, L"item")) {
        take(attributeText(item, L"name"), attributeText(item, L"value"));
    }
}

void readSection(GrabRules& rules, const common::CXMLDOMNode& section) {
    const std::wstring name = section.GetNodeName();
    if (name == L"params") {
        forEachItem(section, [&](const std::wstring& key, const std::wstring& value) {
            rules.params[key] = value;
        });
        return;
    }
    for (const Table& table : kTables) {
        if (name == table.name) {
            auto& rows = rules.*table.rows;
            forEachItem(section, [&](const std::wstring& key, const std::wstring& value) {
                rows.push_back({key, common::toLong(value)});
            });
            return;
        }
    }
}

}  // namespace

void GrabRules::reset() {
    for (const Table& table : kTables) {
        (this->*table.rows).clear();
    }
    params = {{L"transferToUpper", L"0.5"}, {L"subElemK", L"-5.0"},   {L"sentenceK", L"-10.0"},
              {L"evaluateK1", L"0.5"},      {L"evaluateK2", L"0.75"}, {L"clean", L"true"}};
}

int GrabRules::load(const std::wstring& path) {
    reset();
    const common::CXMLDOMNode config = loadConfigRoot(path, L"config");
    if (config.IsEmpty()) {
        return -1;
    }
    const common::CXMLDOMNodeList sections = config.GetChildNodes();
    for (long i = 0; i < sections.GetLength(); ++i) {
        readSection(*this, sections.GetItem(i));
    }
    return 0;
}

double GrabRules::transferToUpper() const {
    const auto found = params.find(L"transferToUpper");
    return found == params.end() ? 0.5 : common::toDouble(found->second);
}

const GrabRules& grabRules() {
    return processRules();
}

int loadGrabRules(const std::wstring& path) {
    return processRules().load(path);
}

}  // namespace addon
