#include "tests/cli/ZippedWorkbook.h"

#include <gtest/gtest.h>
#include <zip.h>

void WriteWorkbook(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries) {
    zipFile archive = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, text] : entries) {
        ASSERT_EQ(zipOpenNewFileInZip64(archive, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                        Z_DEFAULT_COMPRESSION, 0),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(archive, text.data(), static_cast<unsigned>(text.size())), ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(archive), ZIP_OK);
    }
    ASSERT_EQ(zipClose(archive, nullptr), ZIP_OK);
}
