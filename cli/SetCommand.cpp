#include <memory>

#include "CartUpdate.h"
#include "Commands.h"
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
        if (!checked.write)
            return {{}, (value.clearTimer ? kClearTimerOption : value.row->option) + (": " + checked.error)};
        plan.writes.push_back(*checked.write);
    }
    return plan;
}

bool SetOne(const std::string& file, const Plan& plan, bool dryRun, ReadOptions options, BatchSaves& saves) {
    if (!plan.error.empty()) {
        saves.fail(file, plan.error);
        return false;
    }
    // A dry run must work on files the user may only read.
    auto loaded = std::make_unique<LoadedFile>(
        file, dryRun ? wave::WaveStream::Mode::ReadOnly : wave::WaveStream::Mode::ReadWrite, options);
    if (const std::optional<WriteRefusal> refused = CheckAgainstFile(*loaded, plan.writes)) {
        const std::string option = refused->field ? wave::RowOf(*refused->field).option + std::string(": ") : "";
        saves.fail(file, option + refused->message);
        return false;
    }
    return WriteAndReport(file, std::move(loaded), plan.writes, dryRun, saves);
}

}  // namespace

int RunSet(const std::vector<RequestedValue>& values, const std::vector<std::string>& files, bool dryRun,
           ReadOptions options) {
    const Plan plan = CheckValues(values, options.charset);
    int status = kAllSucceeded;
    BatchSaves saves;
    for (const std::string& file : files) {
        if (!SetOne(file, plan, dryRun, options, saves)) status = kSomeFileFailed;
    }
    return saves.allSaved() ? status : kSomeFileFailed;
}

}  // namespace cli
