#pragma once

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <string>
#include <string_view>

#include "cli/LoadedFile.h"

namespace cli {

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
