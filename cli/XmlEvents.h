#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cli {

// What a workbook part's XML says, element by element, with names stripped
// of their namespaces (Excel, LibreOffice and Google Sheets prefix them
// differently).
class XmlEvents {
public:
    using Attributes = std::vector<std::pair<std::string_view, std::string_view>>;

    virtual ~XmlEvents() = default;
    virtual void Start(std::string_view name, const Attributes& attributes) = 0;
    virtual void End(std::string_view name) = 0;
    virtual void Text(std::string_view text) = 0;

    // Parses the whole document with expat, calling the handlers above;
    // false, with nothing more called, on XML that is not well-formed.
    bool Parse(std::string_view xml);
};

// The attribute's value, or empty text when it is not there.
std::string_view AttributeOf(const XmlEvents::Attributes& attributes, std::string_view name);

}  // namespace cli
