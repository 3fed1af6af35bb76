#include <gtest/gtest.h>

#include <vector>

#include "platform/testing.h"
#include "scratch_folder.h"

namespace {

struct Entry {
    std::string name;
    bool folder;
    DWORD size;
    bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& e, std::ostream* os) {
    *os << e.name << (e.folder ? "/" : "") << e.size;
}

std::vector<Entry> List(const std::string& pattern) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           data.nFileSizeLow});
    } while (FindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(find));
    EXPECT_FALSE(FindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    return entries;
}

class FindListing : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("Cache/b.gif", "bb");
        folder.Write("Cache/A.GIF", "a");
        folder.Write("Cache/readme", "text");
        folder.Write("Cache/3/x.gif", "");
    }
    std::string Cache() const { return folder.Path() + "\\cache\\"; }
    ScratchFolder folder;
};

TEST_F(FindListing, DotsFirstThenNamesWithoutRegardToCase) {
    const std::vector<Entry> all = {{".", true, 0},      {"..", true, 0},     {"3", true, 0},
                                    {"A.GIF", false, 1}, {"b.gif", false, 2}, {"readme", false, 4}};
    EXPECT_EQ(List(Cache() + "*.*"), all);
    EXPECT_EQ(List(Cache() + "*"), all);
}

TEST_F(FindListing, Wildcards) {
    EXPECT_EQ(List(Cache() + "*.gif"),
              (std::vector<Entry>{{"A.GIF", false, 1}, {"b.gif", false, 2}}));
    EXPECT_EQ(List(Cache() + "?.GIF"),
              (std::vector<Entry>{{"A.GIF", false, 1}, {"b.gif", false, 2}}));
    EXPECT_EQ(List(Cache() + "READ*"), (std::vector<Entry>{{"readme", false, 4}}));
    EXPECT_EQ(List(Cache() + "b.gif"), (std::vector<Entry>{{"b.gif", false, 2}}));
}

TEST_F(FindListing, EntriesDeletedDuringTheWalkDoNotDisturbIt) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((Cache() + "*.*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::vector<std::string> names{data.cFileName};
    while (FindNextFileA(find, &data)) {
        names.push_back(data.cFileName);
        DeleteFileA((Cache() + data.cFileName).c_str());
    }
    EXPECT_TRUE(FindClose(find));
    EXPECT_EQ(names.size(), 6u);
    EXPECT_EQ(List(Cache() + "*.gif"), std::vector<Entry>{});
}

TEST_F(FindListing, Failures) {
    WIN32_FIND_DATAA data;
    EXPECT_EQ(FindFirstFileA((Cache() + "*.bmp").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindFirstFileA((folder.Path() + "\\none\\*.*").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(FindRoot, ListsNoDots) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA("\\*.*", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        EXPECT_STRNE(data.cFileName, ".");
        EXPECT_STRNE(data.cFileName, "..");
    } while (FindNextFileA(find, &data));
    EXPECT_TRUE(FindClose(find));
}

}  // namespace
