// The manual page keeps up with the program: every command and every long
// option that `--help` lists is described in its body.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "tests/cli/CliRunner.h"
#include "wave/CheckRules.h"

namespace {

std::string FileText(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ManualBody() {
    const std::string manual = FileText(REELMARKER_CLI_MANUAL);
    // The synopsis only names them.
    const std::size_t body = manual.find("# DESCRIPTION");
    return body == std::string::npos ? std::string() : manual.substr(body);
}

std::set<std::string> LongOptions(const std::string& help) {
    static const std::regex kOption("--[a-z][a-z0-9-]*");
    std::set<std::string> options;
    for (auto it = std::sregex_iterator(help.begin(), help.end(), kOption); it != std::sregex_iterator(); ++it)
        options.insert(it->str());
    return options;
}

// The first word of each line under "Subcommands:".
std::vector<std::string> Commands(const std::string& help) {
    std::istringstream lines(help.substr(std::min(help.find("Subcommands:"), help.size())));
    std::vector<std::string> commands;
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line) && line.starts_with("  ")) {
        std::istringstream words(line);
        commands.emplace_back();
        words >> commands.back();
    }
    return commands;
}

TEST(Manual, DescribesEveryCommandAndOptionTheHelpLists) {
    const std::string manual = ManualBody();
    ASSERT_FALSE(manual.empty()) << REELMARKER_CLI_MANUAL;
    const CliRun top = RunCli({"--help"});
    ASSERT_EQ(top.status, 0);
    const std::vector<std::string> commands = Commands(top.out);
    ASSERT_GE(commands.size(), 4u) << top.out;
    std::set<std::string> options = LongOptions(top.out);
    for (const std::string& command : commands) {
        EXPECT_NE(manual.find("*" + command + "*"), std::string::npos) << command;
        const CliRun help = RunCli({command, "--help"});
        ASSERT_EQ(help.status, 0) << command;
        options.merge(LongOptions(help.out));
    }
    for (const std::string& option : options) EXPECT_NE(manual.find("*" + option + "*"), std::string::npos) << option;
}

// The text as scdoc reads it back: an underscore or asterisk alone would
// start emphasis, so the manual escapes them.
std::string ScdocEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '_' || c == '*') escaped.push_back('\\');
        escaped.push_back(c);
    }
    return escaped;
}

// Both list the rules exactly as `check` applies them.
TEST(Manual, ManualAndReadmeListEveryCheckRuleAsTheTableHasIt) {
    const std::string manual = ManualBody();
    const std::string readme = FileText(REELMARKER_README);
    for (const wave::CheckRule& rule : wave::CheckRules()) {
        const std::string id(rule.id), severity(rule.severity), text(rule.rule);
        EXPECT_NE(manual.find("*" + id + "* (" + severity + ")\n\t" + ScdocEscaped(text) + "\n"), std::string::npos)
            << id;
        EXPECT_NE(readme.find("| " + id + " | " + severity + " | " + text + " |"), std::string::npos) << id;
    }
}

}  // namespace
