#include <map>

#include "cli/Commands.h"
#include "cli/ErrorLine.h"
#include "cli/JsonReport.h"
#include "cli/ReadOptionFlags.h"
#include "texts/LoadFailureTexts.h"
#include "wave/WaveCheck.h"

namespace cli {

namespace {

const std::map<std::string, wave::CheckProfile> kProfiles = {{"generic", wave::CheckProfile::Generic},
                                                             {"rivendell", wave::CheckProfile::Rivendell},
                                                             {"enco", wave::CheckProfile::Enco},
                                                             {"genesys", wave::CheckProfile::Genesys}};

class CheckCommand : public Command {
public:
    explicit CheckCommand(CLI::App& check) : Command(check) {
        check.add_flag("--json", json_, "One JSON object of findings per file, one per line");
        check.add_option("--profile", profile_, "The system the files go to: generic, rivendell, enco or genesys")
            ->transform(CLI::CheckedTransformer(kProfiles, CLI::ignore_case));
        check.add_flag("--strict", strict_, "Exit with status 1 for warnings too");
        read_.AddTo(check);
        check.add_option("FILE", files_, "WAV files")->required();
    }

    int Run(Console& console) const override {
        const ReadOptions read = read_.Options();
        const wave::CheckOptions options{profile_, read.charset, read.walk == wave::ChunkWalk::AnyLayout};
        return RunCheck(files_, options, {json_, strict_}, console);
    }

private:
    std::vector<std::string> files_;
    bool json_ = false;
    bool strict_ = false;
    wave::CheckProfile profile_ = wave::CheckProfile::Generic;
    ReadOptionFlags read_;
};

void PrintText(Console& console, const std::string& file, const wave::Findings& findings) {
    for (const wave::Finding& finding : findings) {
        console.out << file << ": " << wave::SeverityName(finding.severity) << ' ' << finding.rule << ": "
                    << finding.message;
        if (finding.offset) console.out << " (at byte " << *finding.offset << ')';
        console.out << '\n';
    }
    console.out << file << ": " << wave::FindingsSummary(findings) << '\n';
}

void PrintJson(Console& console, const std::string& file, const wave::Findings& findings, wave::LoadFailure failure) {
    rapidjson::StringBuffer buffer;
    JsonWriter w(buffer);
    w.StartObject();
    w.Key("file");
    WriteJsonString(w, file, true);
    w.Key("findings");
    w.StartArray();
    for (const wave::Finding& finding : findings) {
        w.StartObject();
        w.Key("rule");
        w.String(finding.rule.c_str());
        w.Key("severity");
        w.String(wave::SeverityName(finding.severity));
        w.Key("message");
        WriteJsonString(w, finding.message, true);
        w.Key("offset");
        if (finding.offset)
            w.Int64(*finding.offset);
        else
            w.Null();
        w.EndObject();
    }
    w.EndArray();
    w.Key("errors");
    w.Uint64(wave::CountOf(findings, wave::Severity::Error));
    w.Key("warnings");
    w.Uint64(wave::CountOf(findings, wave::Severity::Warning));
    if (failure != wave::LoadFailure::None) WriteJsonError(w, failure);
    w.EndObject();
    console.out.write(buffer.GetString(), static_cast<std::streamsize>(buffer.GetSize())).put('\n');
}

}  // namespace

std::unique_ptr<Command> AddCheckCommand(CLI::App& app) {
    return std::make_unique<CheckCommand>(
        *app.add_subcommand("check", "Apply the structure, bext and cart rules to each file and list what fails."));
}

int RunCheck(const std::vector<std::string>& files, const wave::CheckOptions& options, CheckReportOptions report,
             Console& console) {
    int status = kAllSucceeded;
    for (const std::string& file : files) {
        wave::WaveStream stream;
        // A file that cannot be opened has no findings, only its error.
        const bool opened = stream.Open(file, wave::WaveStream::Mode::ReadOnly);
        const wave::Findings findings = opened ? wave::CheckWave(stream, options) : wave::Findings{};
        const wave::LoadFailure failure = opened ? wave::LoadFailure::None : wave::LoadFailure::OpenFailed;
        if (report.json)
            PrintJson(console, file, findings, failure);
        else if (opened)
            PrintText(console, file, findings);
        if (!opened) ReportError(console, file, texts::MessageFor(failure).text);
        const bool failed = !opened || wave::CountOf(findings, wave::Severity::Error) > 0 ||
                            (report.strict && wave::CountOf(findings, wave::Severity::Warning) > 0);
        if (failed) status = kSomeFileFailed;
    }
    return status;
}

}  // namespace cli
