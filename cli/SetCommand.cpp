#include <map>
#include <memory>

#include "cli/CartUpdate.h"
#include "cli/Commands.h"
#include "cli/LoadedFile.h"
#include "cli/ReadOptionFlags.h"
#include "cli/WriteOptionFlags.h"
#include "wave/FieldCodecs.h"

namespace cli {

namespace {

// A list option that takes one value each time it is given. Left as it is,
// it would also take the file names after it (and show "..." in the help).
void OneValueEach(CLI::Option* option) { option->expected(1)->allow_extra_args(false)->take_all(); }

class SetCommand : public Command {
public:
    explicit SetCommand(CLI::App& set) : Command(set) {
        write_.AddTo(set);
        read_.AddTo(set);
        for (const wave::CartFieldRow* row : SettableFields()) {
            if (row == &timerRow_) continue;
            fields_.emplace_back(row, set.add_option(row->option, texts_[row], HelpFor(*row)));
        }
        OneValueEach(set.add_option(timerRow_.option, timers_, HelpFor(timerRow_)));
        OneValueEach(set.add_option(kClearTimerOption, clearedTimers_,
                                    "Clear post timer N (1 to 8) to eight NUL bytes; repeatable"));
        set.add_option("FILE", files_, "WAV files")->required();
        set.callback([this] {
            if (values().empty()) throw CLI::ValidationError("set", "name at least one field to write");
        });
    }

    int Run(Console& console) const override {
        return RunSet(values(), files_, write_.Options(), read_.Options(), console);
    }

private:
    // The fields the command line named, in the order of the options.
    std::vector<RequestedValue> values() const {
        std::vector<RequestedValue> values;
        for (const auto& [field, option] : fields_) {
            if (option->count() > 0) values.push_back({field, texts_.at(field)});
        }
        for (const std::string& timer : timers_) values.push_back({&timerRow_, timer});
        for (const std::string& number : clearedTimers_) values.push_back({&timerRow_, number, true});
        return values;
    }

    const wave::CartFieldRow& timerRow_ = wave::RowOf(wave::CartField::Timers);
    std::vector<std::string> files_;
    WriteOptionFlags write_;
    ReadOptionFlags read_;
    std::map<const wave::CartFieldRow*, std::string> texts_;
    std::vector<std::pair<const wave::CartFieldRow*, const CLI::Option*>> fields_;
    std::vector<std::string> timers_;
    std::vector<std::string> clearedTimers_;
};

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

bool SetOne(const std::string& file, const Plan& plan, WriteOptions write, ReadOptions options, BatchSaves& saves) {
    if (!plan.error.empty()) {
        saves.Fail(file, plan.error);
        return false;
    }
    // A dry run must work on files the user may only read.
    auto loaded = std::make_unique<LoadedFile>(
        file, write.dryRun ? wave::WaveStream::Mode::ReadOnly : wave::WaveStream::Mode::ReadWrite, options);
    if (const std::optional<WriteRefusal> refused = CheckAgainstFile(*loaded, plan.writes, write)) {
        const std::string option = refused->field ? wave::RowOf(*refused->field).option + std::string(": ") : "";
        saves.Fail(file, option + WithGrowthHint(*refused));
        return false;
    }
    return WriteAndReport(file, std::move(loaded), plan.writes, write, saves);
}

}  // namespace

std::unique_ptr<Command> AddSetCommand(CLI::App& app) {
    return std::make_unique<SetCommand>(
        *app.add_subcommand("set", "Rewrite the named cart fields of each file in place."));
}

int RunSet(const std::vector<RequestedValue>& values, const std::vector<std::string>& files, WriteOptions write,
           ReadOptions options, Console& console) {
    const Plan plan = CheckValues(values, options.charset);
    int status = kAllSucceeded;
    BatchSaves saves(console);
    for (const std::string& file : files) {
        if (!SetOne(file, plan, write, options, saves)) status = kSomeFileFailed;
    }
    return saves.AllSaved() ? status : kSomeFileFailed;
}

}  // namespace cli
