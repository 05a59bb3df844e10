// The preview's load errors: each number with the description its message box shows.
#include "core/viewer/load_errors.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora::viewer {
namespace {

TEST(LoadErrors, EachErrorHasItsNumberAndDescription) {
    const struct {
        LoadError error;
        int number;
        const char* description;
    } rows[] = {
        {LoadError::OutOfMemory, 7, "Out of memory"},
        {LoadError::FileNotFound, 53, "File not found"},
        {LoadError::DeviceError, 57, "Device I/O error"},
        {LoadError::PermissionDenied, 70, "Permission denied"},
        {LoadError::AccessError, 75, "Path/File access error"},
        {LoadError::InvalidPicture, 481, "Invalid picture"},
    };
    for (const auto& row : rows) {
        const LoadFailure failure = loadFailure(row.error);
        EXPECT_EQ(failure.number, row.number);
        EXPECT_EQ(std::string(failure.description), row.description) << row.number;
        EXPECT_EQ(std::string(loadErrorDescription(row.number)), row.description) << row.number;
    }
}

TEST(LoadErrors, AnUnknownNumberHasNoDescription) {
    for (const int number : {0, 1, 52, 76, 480, 482, -53}) {
        EXPECT_EQ(std::string(loadErrorDescription(number)), "") << number;
    }
}

} // namespace
} // namespace lumora::viewer
