// Update's span copies: the per-CPU path picked here against the portable one, and
// spans whose bytes end right before an unreadable page.
#include "imaging/lsp_span_copy.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <random>
#include <vector>

#include "sprite_test_util.h"

namespace {

// Random spans of 0 to 90 bytes at any column, from a shared source.
TEST(LspSpanCopyTest, PickedPathMatchesThePortableOne) {
    std::mt19937 rng(20261206);
    const std::vector<unsigned char> source = kvtest::RandomBytes(rng, 4096);
    for (int picture = 0; picture < 300; ++picture) {
        lsp::CLspDib surface;
        surface.Create(1 + static_cast<int>(rng() % 240), 1 + static_cast<int>(rng() % 9));
        for (int n = 0; n < 40; ++n) {
            const int begin = static_cast<int>(rng() % static_cast<unsigned>(surface.m_nPitch));
            const int end = std::min(surface.m_nPitch, begin + static_cast<int>(rng() % 91));
            lsp::PutSpan(&surface, static_cast<int>(rng() % static_cast<unsigned>(surface.m_nRows)),
                         begin, end, source.data() + rng() % 4000);
        }
        const size_t bytes = static_cast<size_t>(surface.m_nPitch) * surface.m_nRows;
        std::vector<unsigned char> picked(bytes + 64, 0xA5);
        std::vector<unsigned char> portable = picked;
        lsp::CopyRowSpans(picked.data(), surface.m_ppRowSpans, surface.m_nRows,
                          static_cast<size_t>(surface.m_nPitch));
        lsp::CopyRowSpansPortable(portable.data(), surface.m_ppRowSpans, surface.m_nRows,
                                  static_cast<size_t>(surface.m_nPitch));
        ASSERT_EQ(picked, portable) << "picture " << picture;
    }
}

TEST(LspSpanCopyTest, SpansEndingAtAnUnreadablePageAreCopied) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* mapping =
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapping, MAP_FAILED);
    auto* bytes = static_cast<unsigned char*>(mapping);
    ASSERT_EQ(mprotect(bytes + page, page, PROT_NONE), 0);
    for (size_t i = 0; i < page; ++i) {
        bytes[i] = static_cast<unsigned char>(i * 7);
    }
    for (int size = 1; size <= 70; ++size) {
        lsp::CLspDib surface;
        surface.Create(80, 1);
        const unsigned char* last = bytes + page - size;
        lsp::PutSpan(&surface, 0, 3, 3 + size, last);
        std::vector<unsigned char> row(80, 0);
        lsp::CopyRowSpans(row.data(), surface.m_ppRowSpans, 1, 80);
        EXPECT_TRUE(std::equal(last, last + size, row.begin() + 3)) << size;
    }
    munmap(mapping, 2 * page);
}

}  // namespace
