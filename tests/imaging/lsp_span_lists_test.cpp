// The span lists themselves, not only the pixels they show: which node holds which
// span, in which order nodes are handed out, and where the pool stands afterwards.
// A plain splicer over an array of nodes is the reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "image_test_util.h"
#include "imaging/kv_aimage.h"
#include "imaging/lsp.h"
#include "sprite_test_util.h"

namespace {

using kvtest::SpritePtr;

// Node n stands for the n-th node the pool hands out after ClearSpans.
class ReferenceSplicer {
public:
    struct Node {
        int begin, end;
        const unsigned char* data;
        int next;
    };

    ReferenceSplicer(const lsp::CLsp& surface)
        : m_pitch(surface.m_nPitch), m_rows(surface.m_nRows), m_back(surface.m_pBackLine) {
        Clear();
    }

    void Clear() {
        m_nodes.clear();
        m_heads.clear();
        for (int row = 0; row < m_rows; ++row) {
            m_heads.push_back(Take());
            m_nodes.back() = Node{0, m_pitch, m_back, -1};
        }
    }

    void PutSpan(int row, int begin, int end, const unsigned char* data) {
        if (row < 0 || row >= m_rows || begin < 0 || end <= begin || end > m_pitch || !data) {
            return;
        }
        int first = m_heads[row];
        while (!(m_nodes[first].begin <= begin && begin < m_nodes[first].end)) {
            first = m_nodes[first].next;
        }
        int last = first;
        while (m_nodes[last].end < end) {
            last = m_nodes[last].next;
        }
        if (first == last) {
            last = Take();
            m_nodes[last] = m_nodes[first];
        }
        int placed = first;
        if (begin > m_nodes[first].begin) {
            placed = Take();
            m_nodes[first].end = begin;
            m_nodes[first].next = placed;
        }
        // The right rest starts at end; its data moves on by what it no longer shows.
        m_nodes[last].data += end - m_nodes[last].begin;
        m_nodes[last].begin = end;
        m_nodes[placed] = Node{begin, end, data, last};
    }

    void PutSprite(int x, int y, const lsp::SPRITE& sprite) {
        const int64_t firstRow = std::max(y, 0);
        const int64_t rowEnd = std::min<int64_t>(m_rows, int64_t{y} + sprite.height);
        const int64_t limit =
            std::min<int64_t>(m_pitch, 2 * int64_t{x} + 2 * int64_t{sprite.width});
        if (firstRow >= rowEnd || limit <= std::max<int64_t>(2 * int64_t{x}, 0)) {
            return;
        }
        for (int64_t row = firstRow; row < rowEnd; ++row) {
            const uint16_t* pair = sprite.rows[row - y];
            for (int64_t column = 2 * int64_t{x}; column < limit; pair += 2 + pair[1]) {
                column += 2 * (pair[0] + pair[1]);
                if (pair[1] == 0) {
                    break;
                }
                const int64_t runBegin = column - 2 * pair[1];
                const int64_t begin = std::max<int64_t>(runBegin, 0);
                const int64_t end = std::min(column, limit);
                if (begin < end) {
                    const auto* pixels = reinterpret_cast<const unsigned char*>(pair + 2);
                    PutSpan(static_cast<int>(row), static_cast<int>(begin), static_cast<int>(end),
                            pixels + (begin - runBegin));
                }
            }
        }
    }

    // Fails the test where the surface's lists or pool differ from the reference.
    void ExpectSame(const lsp::CLsp& surface, const std::string& what) const {
        for (int row = 0; row < m_rows; ++row) {
            const lsp::SPAN* span = surface.m_ppRowSpans[row];
            for (int node = m_heads[row]; node != -1; node = m_nodes[node].next) {
                ASSERT_NE(span, nullptr) << what << ": row " << row << " ends early";
                const Node& want = m_nodes[node];
                ASSERT_EQ(Ordinal(surface, span), node) << what << ": row " << row;
                ASSERT_EQ(span->begin, want.begin) << what << ": row " << row << " node " << node;
                ASSERT_EQ(span->end, want.end) << what << ": row " << row << " node " << node;
                ASSERT_EQ(span->data, want.data) << what << ": row " << row << " node " << node;
                ASSERT_EQ(span->locked, 0);
                span = span->next;
            }
            ASSERT_EQ(span, nullptr) << what << ": row " << row << " runs on";
        }
        // After n nodes the pool stays in the block of node n - 1 until it needs another.
        const int taken = static_cast<int>(m_nodes.size());
        const int block = taken == 0 ? 0 : (taken - 1) / lsp::kSpansPerBlock;
        EXPECT_EQ(BlockIndex(surface, surface.m_pSpanPool->current), block) << what;
        EXPECT_EQ(surface.m_pSpanPool->count, taken - block * lsp::kSpansPerBlock) << what;
    }

private:
    int Take() {
        m_nodes.push_back(Node{});
        return static_cast<int>(m_nodes.size()) - 1;
    }

    static int BlockIndex(const lsp::CLsp& surface, const lsp::SPANBLOCK* wanted) {
        int index = 0;
        for (const lsp::SPANBLOCK* block = surface.m_pSpanPool->first; block != wanted;
             block = block->next) {
            if (block == nullptr) {
                return -1;
            }
            ++index;
        }
        return index;
    }

    static int Ordinal(const lsp::CLsp& surface, const lsp::SPAN* span) {
        int index = 0;
        for (const lsp::SPANBLOCK* block = surface.m_pSpanPool->first; block;
             block = block->next, ++index) {
            if (span >= block->nodes && span < block->nodes + lsp::kSpansPerBlock) {
                return index * lsp::kSpansPerBlock + static_cast<int>(span - block->nodes);
            }
        }
        return -1;
    }

    int m_pitch;
    int m_rows;
    const unsigned char* m_back;
    std::vector<Node> m_nodes;
    std::vector<int> m_heads;
};

// A keyed sprite of random runs, a few of them one pixel long.
SpritePtr RandomSprite(std::mt19937& random, int maxWidth, int maxHeight) {
    CKvAImage image;
    image.Create(1 + static_cast<int>(random() % maxWidth),
                 1 + static_cast<int>(random() % maxHeight));
    uint16_t pixel = 0;
    int runLeft = 0;
    for (int row = 0; row < image.GetHeight(); ++row) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (runLeft-- <= 0) {
                runLeft = static_cast<int>(random() % 9);
                pixel = random() % 3 == 0 ? 0x001F : static_cast<uint16_t>(random() | 0x8000);
            }
            kvtest::SetPixel(image, x, row, pixel);
        }
    }
    return SpritePtr(random() % 10 == 0 ? lsp::MakeSpriteFromImage(image)
                                        : lsp::MakeKeyedSpriteFromImage(image));
}

struct SurfaceCase {
    int width, height;
};

class LspSpanListTest : public testing::TestWithParam<SurfaceCase> {};

// Sprites and single spans, mixed, across every edge; pictures large enough that
// the pool takes several blocks, and small ones after them that reuse them.
TEST_P(LspSpanListTest, RandomPicturesBuildTheReferenceLists) {
    const SurfaceCase c = GetParam();
    std::mt19937 random(static_cast<uint32_t>(c.width * 1000 + c.height));
    lsp::CLspDib surface;
    surface.CreateDib(c.width, c.height, 0x1234, 2);
    std::vector<unsigned char> source(512);
    for (unsigned char& byte : source) {
        byte = static_cast<unsigned char>(random());
    }
    ReferenceSplicer reference(surface);
    reference.ExpectSame(surface, "fresh");
    for (int picture = 0; picture < 120; ++picture) {
        lsp::ClearSpans(&surface);
        reference.Clear();
        const int layers = 1 + static_cast<int>(random() % (picture % 3 == 0 ? 40 : 8));
        for (int layer = 0; layer < layers; ++layer) {
            const std::string what =
                "picture " + std::to_string(picture) + " layer " + std::to_string(layer);
            if (random() % 4 == 0) {
                const int row = static_cast<int>(random() % (c.height + 2)) - 1;
                const int begin = static_cast<int>(random() % (2 * c.width + 8)) - 4;
                const int end = begin + static_cast<int>(random() % 24) - 2;
                const unsigned char* data = &source[random() % 256];
                lsp::PutSpan(&surface, row, begin, end, data);
                reference.PutSpan(row, begin, end, data);
            } else {
                const SpritePtr sprite = RandomSprite(random, c.width + 8, c.height + 4);
                const int x = static_cast<int>(random() % (c.width + 16)) - sprite->width / 2 - 4;
                const int y = static_cast<int>(random() % (c.height + 8)) - sprite->height / 2;
                lsp::PutSprite(&surface, x, y, sprite.get());
                reference.PutSprite(x, y, *sprite);
            }
            reference.ExpectSame(surface, what);
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Surfaces, LspSpanListTest,
                         testing::Values(SurfaceCase{37, 23}, SurfaceCase{100, 120},
                                         SurfaceCase{9, 130}, SurfaceCase{1, 1}),
                         [](const testing::TestParamInfo<SurfaceCase>& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

}  // namespace
