#include <gtest/gtest.h>

#include <string>

#include "saver/images/file_extension.h"

namespace {

TEST(FileExtension, LastDotOfTheNameOrTheEnd) {
    struct Case {
        const char* name;
        const char* extension;
    } cases[] = {
        {"Night Sky.LUM", ".LUM"},
        {"archive.tar.gz", ".gz"},
        {"C:\\My.Pictures\\photo", ""},  // the dot belongs to a directory
        {"/home/me/v1.2/photo", ""},
        {"/home/me/v1.2/photo.jpg", ".jpg"},
        {"file. txt", ""},  // a blank after the dot forgets it
        {"noext", ""},
        {"", ""},
        {"trailing.", "."},
        {"dir.d/\xC3\xA9t\xC3\xA9.PCX", ".PCX"},  // multi-byte characters
    };
    for (const Case& c : cases) {
        const char* result = FileExtension(c.name);
        EXPECT_STREQ(result, c.extension) << c.name;
        EXPECT_EQ(result, c.name + std::string(c.name).size() - std::string(c.extension).size())
            << "points into the name: " << c.name;
    }
}

TEST(FileExtension, WritableNameCanBeCutAtTheExtension) {
    char name[] = "/tmp/Night Sky.LUM";
    *FileExtension(name) = 0;
    EXPECT_STREQ(name, "/tmp/Night Sky");
}

}  // namespace
