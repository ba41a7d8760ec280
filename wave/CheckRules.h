#pragma once

#include <array>
#include <span>
#include <string_view>

namespace wave {

enum class Severity { Error, Warning, Info };

// A rule of `check`: its ID, the severity it is listed with ("W if other",
// "W / I": some rules give more than one), and what it asks of a file. The
// manual page and the README list these rows as they stand.
struct CheckRule {
    std::string_view id;
    std::string_view severity;
    std::string_view rule;
};

inline constexpr std::array kCheckRules = std::to_array<CheckRule>({
    {"S1", "E", "The file starts with RIFF, RF64 or BW64, and the form type is WAVE"},
    {"S2", "W", "The RIFF size (or ds64's) is not smaller than the chunks it holds; larger than the file is S3"},
    {"S3", "E", "No chunk runs past the end of the file, the data chunk included (a truncated recording)"},
    {"S4", "E", "An odd-sized chunk is followed by a pad byte; the pad byte is 0"},
    {"S5", "W",
     "An odd-sized chunk with no pad byte (the next ID starts at once; some editors write bext so): say so, and "
     "read on from there"},
    {"S6", "E", "At most one of each chunk, except filler chunks (JUNK, JUNQ, FLLR, FILR, PAD )"},
    {"S7", "E", "No second WAVE form and no second data chunk"},
    {"S8", "E",
     "PCM \"fmt \": block align = channels x bits / 8 (rounded up to bytes), average bytes per second = sample "
     "rate x block align"},
    {"S9", "W", "PCM: the data size is a whole number of blocks"},
    {"S10", "E", "RF64/BW64: ds64 is the first chunk, and every size of 0xFFFFFFFF is resolved through it"},
    {"S11", "I", "Chunks the program does not interpret are listed by ID and size"},
    {"B1", "E", "The chunk is at least 602 bytes; the coding history is read only within the chunk"},
    {"B2", "W", "Version is 0, 1 or 2; version 2 loudness fields are within their ranges (0x7FFF = not set)"},
    {"B3", "W",
     "Description (256), originator (32), originator reference (32) are NUL-padded text of the file's character "
     "set"},
    {"B4", "W",
     "Origination date is yyyy-mm-dd (separators - _ : space . accepted) and a real calendar day; time is "
     "hh:mm:ss with the same separators"},
    {"B5", "I",
     "Originator reference follows EBU R99 when it claims to (2 letters country, 3 characters organisation, 12 "
     "serial, 6 time, 9 random)"},
    {"B6", "W",
     "Coding history follows EBU R98: lines of comma-separated A=, F=, B=, W=, M=, T= items, each line ending in "
     "CR LF; A from ANALOGUE, PCM, MPEG1L1..L3, MPEG2L1..L3; M from mono, stereo, dual-mono, joint-stereo"},
    {"B7", "W", "The time reference (64-bit frame count since midnight) is below 24 h at the file's sample rate"},
    {"C1", "W if other", "Version is four ASCII digits; \"0101\" is current; \"0100\" and \"0000\" are older layouts"},
    {"C2", "E", "The chunk holds at least the fixed part: 2048 bytes for \"0101\" (URL included), 1024 for \"0000\""},
    {"C3", "W", "Text fields are NUL-padded within their slots: nothing but NUL after the first NUL"},
    {"C4", "W for \"/\", E for unreadable",
     "Start and end dates are yyyy-mm-dd and times hh:mm:ss; \"/\" in dates is common and read by most systems"},
    {"C5", "E",
     "Dates and times are real calendar values; an all-NUL or all-blank field means \"not set\" and is fine"},
    {"C6", "W", "When both are set, end date and time are not before start date and time"},
    {"C7", "I", "1900-01-01 00:00:00 and 9999-12-31 23:59:59 are the common \"not set\" sentinels"},
    {"C8", "W",
     "Each timer usage is 0x00000000 or a type from SEG AUD INT OUT SEC TER MRK EOD followed by \"s\", \"e\", a "
     "digit or a space; other codes are kept"},
    {"C9", "I", "An unused timer (usage 0x00000000) has value 0"},
    {"C10", "E", "A timer's value is within the audio: at most the number of frames in data"},
    {"C11", "W",
     "For each type, a start is not after its end (INTs <= INTe, SEGs <= SEGe, AUDs <= AUDe); intro and segue "
     "markers lie between AUDs and AUDe when those are set"},
    {"C12", "W / I",
     "AUD is used only with \"s\" and \"e\"; two plain AUD timers (one automation system writes them so) are read "
     "as start and end"},
    {"C13", "W", "A usage repeats only where the type allows multiples (SEG, INT, OUT, SEC, TER, MRK, EOD)"},
    {"C14", "I", "Level reference is shown as stored; 0 or negative in a 16-bit file is worth a look"},
    {"C15", "I", "The reserved bytes are zero; when not, they are reported and kept byte for byte"},
    {"C16", "W",
     "A URL that starts 4 bytes early (text in the last 4 reserved bytes running into a URL that looks cut) was "
     "written by a known faulty writer"},
    {"C17", "I", "A cart chunk without a bext chunk"},
    {"C18", "I", "A cart chunk in a non-PCM file (MPEG in WAV): timers still count frames at the fmt sample rate"},
});

constexpr std::span<const CheckRule> CheckRules() { return kCheckRules; }

}  // namespace wave
