#include "cli/XlsxWriterLibrary.h"

#include <dlfcn.h>

#include <optional>

namespace cli {

namespace {

// The name the build linked against: the library's interface version.
constexpr const char* kLibrary = REELMARKER_XLSXWRITER_SONAME;

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

std::optional<XlsxWriterLibrary> Load(std::string& why) {
    // Kept loaded for the rest of the run.
    void* library = ::dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        why = std::string(kLibrary) + " cannot be loaded";
        return std::nullopt;
    }
    XlsxWriterLibrary api{};
    const bool all =
        Resolve(library, "workbook_new_opt", api.newWorkbook) &&
        Resolve(library, "workbook_add_worksheet", api.addWorksheet) &&
        Resolve(library, "workbook_add_format", api.addFormat) && Resolve(library, "workbook_close", api.close) &&
        Resolve(library, "format_set_num_format", api.setNumberFormat) &&
        Resolve(library, "format_set_bold", api.setBold) && Resolve(library, "format_set_bg_color", api.setFill) &&
        Resolve(library, "format_set_font_color", api.setFontColor) &&
        Resolve(library, "worksheet_write_string", api.writeString) &&
        Resolve(library, "worksheet_set_column", api.setColumn) &&
        Resolve(library, "worksheet_freeze_panes", api.freezePanes) && Resolve(library, "lxw_strerror", api.describe);
    if (!all) {
        why = std::string(kLibrary) + " lacks a function it should have";
        return std::nullopt;
    }
    return api;
}

}  // namespace

const XlsxWriterLibrary* LoadXlsxWriter(std::string& why) {
    static std::string failure;
    static const std::optional<XlsxWriterLibrary> library = Load(failure);
    why = failure;
    return library ? &*library : nullptr;
}

}  // namespace cli
