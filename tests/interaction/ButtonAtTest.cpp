#include "interaction/Interaction.h"

#include <cstring>

#include <gtest/gtest.h>

namespace tessaro {
namespace {

int KeyAt(int x, int y) {
    const PlayButton* button = ButtonAt(x, y);
    return button ? button->key : 0;
}

TEST(ButtonAt, HitRangesMeetWithoutGapsAndEndAt612) {
    struct Edge {
        int x;
        int key;
    };
    const Edge edges[] = {{28, 0},          {29, Qt::Key_L},  {107, Qt::Key_L}, {108, Qt::Key_S},
                          {201, Qt::Key_S}, {202, Qt::Key_D}, {295, Qt::Key_D}, {296, Qt::Key_N},
                          {397, Qt::Key_N}, {398, Qt::Key_H}, {475, Qt::Key_H}, {476, Qt::Key_A},
                          {568, Qt::Key_A}, {612, Qt::Key_A}, {613, 0}};
    for (const Edge& edge : edges) {
        EXPECT_EQ(KeyAt(edge.x, 610), edge.key) << "x " << edge.x;
        EXPECT_EQ(KeyAt(edge.x, 597), edge.key) << "x " << edge.x;
        EXPECT_EQ(KeyAt(edge.x, 623), edge.key) << "x " << edge.x;
        EXPECT_EQ(KeyAt(edge.x, 596), 0) << "x " << edge.x;
        EXPECT_EQ(KeyAt(edge.x, 624), 0) << "x " << edge.x;
    }
    for (int x = 29; x <= 612; ++x) EXPECT_NE(KeyAt(x, 600), 0) << "gap at x " << x;
}

TEST(ButtonAt, ButtonsStandSideBySideAtTheirCaptionWidths) {
    const std::vector<PlayButton>& buttons = PlayButtons();
    ASSERT_EQ(buttons.size(), 6u);
    int left = 30;
    for (const PlayButton& button : buttons) {
        EXPECT_EQ(button.left, left) << button.caption;
        const int width = 20 + 8 * (static_cast<int>(std::strlen(button.caption)) - 1);
        // The next button starts where this one's frame ends, two pixels on.
        left += width + 2;
        EXPECT_NE(std::strchr(button.caption, '_'), nullptr) << button.caption;
        EXPECT_EQ(std::strchr(button.caption, '_')[1], static_cast<char>(button.key)) << button.caption;
    }
    EXPECT_EQ(buttons.back().left + 20 + 8 * (static_cast<int>(std::strlen(buttons.back().caption)) - 1), 568);
}

}  // namespace
}  // namespace tessaro
