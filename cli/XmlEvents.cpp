#include "cli/XmlEvents.h"

#include <expat.h>

#include <limits>
#include <memory>

namespace cli {

namespace {

constexpr char kNamespaceSeparator = '\x01';

std::string_view LocalName(const XML_Char* name) {
    const std::string_view full(name);
    const std::size_t separator = full.rfind(kNamespaceSeparator);
    return separator == std::string_view::npos ? full : full.substr(separator + 1);
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    XmlEvents::Attributes list;
    for (const XML_Char** a = attributes; *a != nullptr; a += 2) list.emplace_back(LocalName(a[0]), a[1]);
    static_cast<XmlEvents*>(data)->Start(LocalName(name), list);
}

void XMLCALL OnEnd(void* data, const XML_Char* name) { static_cast<XmlEvents*>(data)->End(LocalName(name)); }

void XMLCALL OnText(void* data, const XML_Char* text, int length) {
    static_cast<XmlEvents*>(data)->Text(std::string_view(text, static_cast<std::size_t>(length)));
}

struct FreeParser {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

}  // namespace

bool XmlEvents::Parse(std::string_view xml) {
    if (xml.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return false;
    const std::unique_ptr<XML_ParserStruct, FreeParser> parser(XML_ParserCreateNS(nullptr, kNamespaceSeparator));
    if (!parser) return false;
    XML_SetUserData(parser.get(), this);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser.get(), OnText);
    return XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
}

std::string_view AttributeOf(const XmlEvents::Attributes& attributes, std::string_view name) {
    for (const auto& [key, value] : attributes) {
        if (key == name) return value;
    }
    return {};
}

}  // namespace cli
