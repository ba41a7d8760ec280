#include <iostream>

#include "Commands.h"
#include "ErrorLine.h"
#include "FieldCodecs.h"
#include "LoadedFile.h"

namespace cli {

namespace {

struct Plan {
    wave::CartWrites writes;
    std::string error;
};

Plan CheckValues(const std::vector<RequestedValue>& values, wave::Charset charset) {
    Plan plan;
    for (const RequestedValue& value : values) {
        CheckedValue checked = CheckRequested(value, charset);
        if (!checked.write) return {{}, checked.error};
        plan.writes.push_back(*checked.write);
    }
    return plan;
}

std::string FieldList(const wave::CartWrites& writes) {
    std::string list;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        // Several post timers are one field to the reader.
        if (i > 0 && writes[i].field == writes[i - 1].field) continue;
        list += (list.empty() ? "" : ", ") + std::string(wave::DisplayName(writes[i].field));
    }
    return list;
}

// Checks the file can take the writes; returns an error message, or empty.
std::string CheckAgainstFile(const LoadedFile& loaded, const wave::CartWrites& writes) {
    if (!loaded.ok()) return wave::MessageFor(loaded.failure).text;
    for (const wave::CartWrite& write : writes) {
        const wave::CartFieldRow& row = wave::RowOf(write.field);
        if (row.kind == wave::FieldKind::Url && !wave::HoldsUrlArea(*loaded.document.m_pCartData)) {
            return std::string(row.option) + ": the cart chunk of this file has no URL area";
        }
    }
    std::vector<std::uint8_t> image;
    const wave::SaveResult prepared = loaded.document.PrepareCart(writes, image);
    if (prepared.ok) return {};
    if (prepared.field) return std::string(wave::RowOf(*prepared.field).option) + ": " + prepared.error;
    return prepared.error;
}

bool SetOne(const std::string& file, const Plan& plan, bool dryRun, ReadOptions options) {
    if (!plan.error.empty()) {
        ReportError(file, plan.error);
        return false;
    }
    // A dry run must work on files the user may only read.
    LoadedFile loaded(file, dryRun ? wave::WaveStream::Mode::ReadOnly : wave::WaveStream::Mode::ReadWrite, options);
    if (const std::string error = CheckAgainstFile(loaded, plan.writes); !error.empty()) {
        ReportError(file, error);
        return false;
    }
    if (dryRun) {
        std::cout << file << ": would write " << FieldList(plan.writes) << "; nothing written\n";
        return true;
    }
    const wave::SaveResult saved = loaded.document.SaveCart(plan.writes);
    if (!saved.ok) {
        ReportError(file, saved.error);
        return false;
    }
    std::cout << file << ": saved " << FieldList(plan.writes) << '\n';
    return true;
}

}  // namespace

int RunSet(const std::vector<RequestedValue>& values, const std::vector<std::string>& files, bool dryRun,
           ReadOptions options) {
    const Plan plan = CheckValues(values, options.charset);
    int status = kAllSucceeded;
    for (const std::string& file : files) {
        if (!SetOne(file, plan, dryRun, options)) status = kSomeFileFailed;
    }
    return status;
}

}  // namespace cli
