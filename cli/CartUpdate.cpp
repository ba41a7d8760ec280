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

WriteRefusal RefusalOf(LoadedFile& loaded) {
    return {std::nullopt, texts::MessageFor(loaded.failure).text, loaded.document.CanAddCart() ? "adds one" : ""};
}

std::string WithGrowthHint(const WriteRefusal& refused) {
    return refused.message + (refused.growthWould.empty() ? "" : " (--grow " + refused.growthWould + ")");
}

namespace {

// Tag text refused by a chunk read whole would fit an enlarged one.
bool GrowthWouldHold(const LoadedFile& loaded, const wave::SaveResult& prepared) {
    const wave::LoadedWave& wave = loaded.document.loaded;
    return prepared.field == wave::CartField::TagText && wave.cart && wave.cart->size() == wave.cartSize;
}

}  // namespace

std::optional<WriteRefusal> CheckAgainstFile(LoadedFile& loaded, const wave::CartWrites& writes,
                                             const WriteOptions& write) {
    const bool newCart = !loaded.Ok() && write.grow && loaded.document.CanAddCart();
    if (!loaded.Ok() && !newCart) return RefusalOf(loaded);
    for (const wave::CartWrite& each : writes) {
        if (!newCart && wave::RowOf(each.field).kind == wave::FieldKind::Url &&
            !wave::HoldsUrlArea(*loaded.document.loaded.cart)) {
            return WriteRefusal{each.field, "the cart chunk of this file has no URL area", ""};
        }
    }
    std::vector<std::uint8_t> image;
    const wave::SaveResult prepared = loaded.document.PrepareCart(writes, image, write.grow);
    if (prepared.ok) return std::nullopt;
    const bool wouldHold = !write.grow && GrowthWouldHold(loaded, prepared);
    return WriteRefusal{prepared.field, prepared.error, wouldHold ? "enlarges the chunk" : ""};
}

bool WriteAndReport(const std::string& file, std::unique_ptr<LoadedFile> loaded, const wave::CartWrites& writes,
                    const WriteOptions& write, BatchSaves& saves) {
    const bool grows = write.grow && loaded->document.NeedsGrowth(writes);
    const std::string how = !grows ? "" : loaded->Ok() ? " (cart chunk enlarged)" : " (cart chunk added)";
    if (write.dryRun) {
        saves.Say(file, "would write " + FieldList(writes) + how + "; nothing written");
        return true;
    }
    if (grows) {
        const wave::SaveResult grown = loaded->document.GrowCart(writes, write.append);
        if (!grown.ok) {
            saves.Fail(file, grown.error + (grown.atEndWouldDo ? " (--append adds the chunk at the end instead)" : ""));
            return false;
        }
        saves.Say(file, "saved " + FieldList(writes) + how);
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
