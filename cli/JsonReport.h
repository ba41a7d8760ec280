#pragma once

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <string>
#include <string_view>

#include "cli/LoadedFile.h"

namespace cli {

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

// A string value; a path need not be UTF-8, and its stray bytes show as
// U+FFFD.
void WriteJsonString(JsonWriter& w, std::string_view text, bool mayBeInvalidUtf8 = false);

// "error": null, or the load failure's text, caption and icon.
void WriteJsonError(JsonWriter& w, wave::LoadFailure failure);

// Writes each file's format, bext and cart as one JSON object with a fixed
// key order, streamed into a buffer that is reused from file to file.
class JsonReport {
public:
    // The report of one file, without a line break; valid until the next call.
    std::string_view Write(const std::string& file, const LoadedFile& loaded);

private:
    rapidjson::StringBuffer buffer_;
    rapidjson::Writer<rapidjson::StringBuffer> writer_;
};

}  // namespace cli
