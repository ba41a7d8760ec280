#include "cli/WrittenWorkbook.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

#include "cli/ZipArchive.h"

namespace cli {

namespace {

constexpr std::string_view kSheet = "xl/worksheets/sheet1.xml";

constexpr std::string_view kRowTag = "<row ";

// The last `count` bytes of `text` followed by `piece`.
std::string LastOf(const std::string& text, std::string_view piece, std::size_t count) {
    std::string joined = text;
    joined += piece.substr(piece.size() - std::min(piece.size(), count));
    return joined.substr(joined.size() - std::min(joined.size(), count));
}

// memmem rather than find: every cell has several tags, and find stops at
// each '<' to compare.
std::size_t Count(std::string_view text, std::string_view what) {
    std::size_t found = 0;
    for (const char* at = text.data();
         const void* hit =
             ::memmem(at, text.size() - static_cast<std::size_t>(at - text.data()), what.data(), what.size());
         ++found) {
        at = static_cast<const char*>(hit) + what.size();
    }
    return found;
}

// What the check needs of an XML document, gathered as it is inflated: its
// start, its end and how many rows it opens.
class DocumentSummary {
public:
    void Take(std::string_view piece) {
        if (start_.size() < kKept) start_ += piece.substr(0, kKept - start_.size());
        // A row tag straddling two pieces starts in the bytes kept from the
        // earlier, too few to hold one whole.
        const std::size_t straddle = kRowTag.size() - 1;
        const std::string seam =
            tail_.substr(tail_.size() - std::min(tail_.size(), straddle)) + std::string(piece.substr(0, straddle));
        rows_ += Count(seam, kRowTag) + Count(piece, kRowTag);
        tail_ = LastOf(tail_, piece, kKept);
    }

    // Whether the document ends with the end tag of its first element.
    bool ClosesItsRoot() const {
        std::size_t at = 0;
        while ((at = start_.find('<', at)) != std::string::npos && at + 1 < start_.size() &&
               (start_[at + 1] == '?' || start_[at + 1] == '!')) {
            ++at;
        }
        if (at == std::string::npos) return false;
        const std::size_t end = start_.find_first_of(" \t\r\n/>", at + 1);
        if (end == std::string::npos) return false;
        const std::string closing = "</" + start_.substr(at + 1, end - at - 1) + ">";
        const std::size_t last = tail_.find_last_not_of(" \t\r\n");
        return last != std::string::npos && std::string_view(tail_).substr(0, last + 1).ends_with(closing);
    }

    std::size_t Rows() const { return rows_; }

private:
    static constexpr std::size_t kKept = 256;

    std::string start_;
    std::string tail_;
    std::size_t rows_ = 0;
};

}  // namespace

std::optional<std::string> WorkbookProblem(const std::string& path, std::size_t rows) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const ZipArchive archive(bytes);
    if (!archive.Ok()) return "it was left unreadable";
    bool sheetSeen = false;
    for (const std::string& name : archive.Names()) {
        if (!name.ends_with(".xml") && !name.ends_with(".rels")) continue;
        DocumentSummary document;
        if (!archive.Stream(name, [&](std::string_view piece) { document.Take(piece); }) || !document.ClosesItsRoot())
            return name + " was cut short";
        if (name != kSheet) continue;
        sheetSeen = true;
        if (document.Rows() != rows)
            return "its sheet holds " + std::to_string(document.Rows()) + " of " + std::to_string(rows) + " rows";
    }
    if (!sheetSeen) return "it has no sheet";
    return std::nullopt;
}

}  // namespace cli
