#include "cli/CartUpdate.h"

#include <set>

#include "cli/ErrorLine.h"
#include "texts/LoadFailureTexts.h"
#include "wave/FieldCodecs.h"

namespace cli {

// Several post timers are one field to the reader.
std::string FieldList(const wave::CartWrites& writes) {
    std::set<wave::CartField> fields;
    for (const wave::CartWrite& write : writes) fields.insert(write.field);
    std::string list;
    for (const wave::CartField field : fields)
        list += (list.empty() ? "" : ", ") + std::string(wave::DisplayName(field));
    return list;
}

std::optional<WriteRefusal> CheckAgainstFile(const LoadedFile& loaded, const wave::CartWrites& writes) {
    if (!loaded.Ok()) return WriteRefusal{std::nullopt, texts::MessageFor(loaded.failure).text};
    for (const wave::CartWrite& write : writes) {
        if (wave::RowOf(write.field).kind == wave::FieldKind::Url &&
            !wave::HoldsUrlArea(*loaded.document.loaded.cart)) {
            return WriteRefusal{write.field, "the cart chunk of this file has no URL area"};
        }
    }
    std::vector<std::uint8_t> image;
    const wave::SaveResult prepared = loaded.document.PrepareCart(writes, image);
    if (prepared.ok) return std::nullopt;
    return WriteRefusal{prepared.field, prepared.error};
}

bool WriteAndReport(const std::string& file, std::unique_ptr<LoadedFile> loaded, const wave::CartWrites& writes,
                    bool dryRun, BatchSaves& saves) {
    if (dryRun) {
        saves.Say(file, "would write " + FieldList(writes) + "; nothing written");
        return true;
    }
    const wave::SaveResult written = loaded->document.WriteCart(writes);
    if (!written.ok) {
        saves.Fail(file, written.error);
        return false;
    }
    saves.Finish(file, std::move(loaded), FieldList(writes));
    return true;
}

}  // namespace cli
