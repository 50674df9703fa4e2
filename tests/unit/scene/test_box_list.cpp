// Lists: what CreateHudListBox builds, the window of eight rows between the arrows, scrolling, and rows
// leaving the list.
#include "test_box_support.h"

#include <set>

using namespace boxtest;

namespace {

constexpr float kArrowX = -4.5f;
constexpr float kArrowZ = -5.0f;
constexpr float kItem = 1.0f;

class BoxList : public BoxTest {
  protected:
    // The kingdom's Build list shape: head at (-7, -5), "<<" at (-4.5, -5), items 1 x 1 along x.
    BoxObject* MakeList(int32_t count, bool closed) {
        return CreateHudListBox(gameData, -7.0f, 0.0f, -5.0f, 1.25f, 0.5f, count, 1.0f, 0.0f, 0.0f, true,
                                true, true, closed, 0, kArrowX, 0.0f, kArrowZ, kItem, kItem);
    }
    static float SlotX(int slot) { return kArrowX + static_cast<float>(slot) * kItem; }

    void Click(BoxObject* box) {
        box->QueueCommand(BoxCommandKind::Click, 0.0f);
        ASSERT_TRUE(Settle());
    }

    // The members that show, with the slot each stands in.
    std::vector<std::pair<size_t, int>> Shown(const BoxObject* head) {
        std::vector<std::pair<size_t, int>> shown;
        for (size_t k = 0; k < head->m_members.size(); ++k) {
            const BoxObject* m = head->m_members[k];
            if (m->m_sprite.m_visible && m->m_pickable && !m->m_folded) {
                shown.emplace_back(k, static_cast<int>(std::lround(m->m_layoutPosition.x - kArrowX)));
            }
        }
        return shown;
    }
};

TEST_F(BoxList, ACountOfOneMakesTheHeadAndTheTwoArrowsWithTheForwardArrowAtSlotEight) {
    BoxObject* head = MakeList(1, false);
    ASSERT_EQ(gameData.m_hudBoxes.size(), 3u);
    auto it = gameData.m_hudBoxes.begin();
    BoxObject* left = (++it)->get();
    BoxObject* right = (++it)->get();
    EXPECT_EQ(gameData.m_hudBoxes.front().get(), head);
    EXPECT_EQ(head->m_members, (std::vector<BoxObject*>{left, right}));
    EXPECT_EQ(head->m_next, left);
    EXPECT_EQ(left->m_next, right);
    EXPECT_EQ(right->m_next, nullptr);
    EXPECT_EQ(left->m_anchor, head);
    EXPECT_EQ(right->m_anchor, left);
    EXPECT_EQ(head->m_group, nullptr);
    EXPECT_EQ(head->m_anchor, nullptr);
    EXPECT_EQ(head->m_windowStart, 1u);
    EXPECT_EQ(head->m_ownTexture, kBoxSpriteFile);

    EXPECT_EQ(left->m_actionId, kBoxActionScrollBack);
    EXPECT_EQ(right->m_actionId, kBoxActionScrollForward);
    EXPECT_EQ(left->m_label.m_text, "  <<");
    EXPECT_EQ(right->m_label.m_text, "  >>");
    EXPECT_FALSE(left->m_showLabel);
    EXPECT_FALSE(right->m_showLabel);
    EXPECT_EQ(left->m_ownTexture, kBoxLeftArrowTexture);
    EXPECT_EQ(right->m_sprite.m_xmlName, kBoxRightArrowTexture);
    for (const auto& box : gameData.m_hudBoxes) {
        EXPECT_EQ(box->m_layoutType, 2);
        EXPECT_EQ(box->m_hidden, 0);
        EXPECT_TRUE(box->m_screenFlags.m_unitEditor);
    }
    EXPECT_EQ(left->m_layoutPosition.x, kArrowX);
    EXPECT_EQ(right->m_layoutPosition.x, SlotX(8));
    EXPECT_EQ(right->m_layoutPosition.z, kArrowZ);

    // The first layout puts the forward arrow into slot 9.
    left->QueueCommand(BoxCommandKind::ListLayout, 5.0f);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(right->m_layoutPosition.x, SlotX(9));
    EXPECT_EQ((Shown(head)), (std::vector<std::pair<size_t, int>>{{0, 0}, {1, 9}}));
}

TEST_F(BoxList, AClosedListShowsOnlyItsHeadUntilTheHeadIsClicked) {
    BoxObject* head = MakeList(4, true);
    ASSERT_EQ(head->m_members.size(), 5u);
    for (BoxObject* member : head->m_members) {
        EXPECT_TRUE(member->m_folded);
        EXPECT_FALSE(member->m_pickable);
    }
    Click(head);
    EXPECT_FALSE(head->m_selectByte);
    EXPECT_EQ((Shown(head)), (std::vector<std::pair<size_t, int>>{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 9}}));
    // A second click closes it again.
    Click(head);
    EXPECT_TRUE(Shown(head).empty());

    BoxObject* open = MakeList(3, false);
    for (BoxObject* member : open->m_members) {
        EXPECT_FALSE(member->m_folded);
        EXPECT_TRUE(member->m_pickable);
    }
}

TEST_F(BoxList, TwelveRowsShowEightAndScrollFourTimesEachWay) {
    BoxObject* head = MakeList(13, true);
    ASSERT_EQ(head->m_members.size(), 14u);
    BoxObject* left = head->m_members.front();
    BoxObject* right = head->m_members.back();
    Click(head);

    auto window = [](size_t start) {
        std::vector<std::pair<size_t, int>> expected{{0, 0}};
        for (size_t k = start; k < start + 8; ++k) {
            expected.emplace_back(k, static_cast<int>(k - start + 1));
        }
        expected.emplace_back(13, 9);
        return expected;
    };
    EXPECT_EQ(Shown(head), window(1));
    for (size_t k = 9; k <= 12; ++k) {
        EXPECT_FALSE(head->m_members[k]->m_sprite.m_visible) << k;
    }

    for (uint32_t start = 2; start <= 5; ++start) {
        Click(right);
        EXPECT_EQ(head->m_windowStart, start);
        EXPECT_EQ(Shown(head), window(start));
    }
    Click(right);
    EXPECT_EQ(head->m_windowStart, 5u);
    EXPECT_EQ(Shown(head), window(5));

    for (int start = 4; start >= 1; --start) {
        Click(left);
        EXPECT_EQ(head->m_windowStart, static_cast<uint32_t>(start));
        EXPECT_EQ(Shown(head), window(static_cast<size_t>(start)));
    }
    Click(left);
    EXPECT_EQ(head->m_windowStart, 1u);
    EXPECT_EQ(Shown(head), window(1));
}

TEST_F(BoxList, RowsLeavingAScrolledListKeepTheWindowInsideTheRest) {
    BoxObject* head = MakeList(13, true);
    Click(head);
    BoxObject* right = head->m_members.back();
    for (int i = 0; i < 4; ++i) {
        Click(right);
    }
    ASSERT_EQ(head->m_windowStart, 5u);

    // Six rows go, from the end of the window: "<<", six rows and ">>" are left.
    std::vector<BoxObject*> leaving(head->m_members.begin() + 7, head->m_members.begin() + 13);
    std::set<const BoxObject*> gone(leaving.begin(), leaving.end());
    for (BoxObject* row : leaving) {
        DeleteHudBox(gameData, row);
    }
    ASSERT_EQ(head->m_members.size(), 8u);
    EXPECT_EQ(head->m_windowStart, 1u);
    for (const auto& box : gameData.m_hudBoxes) {
        for (const BoxObject* link : {box->m_group, box->m_anchor, box->m_next, box->m_child}) {
            EXPECT_EQ(gone.count(link), 0u);
        }
    }

    // Scrolling and laying out touch only members that exist.
    for (int i = 0; i < 3; ++i) {
        head->QueueCommand(BoxCommandKind::ScrollForward, 5.0f);
        head->QueueCommand(BoxCommandKind::ScrollBack, 5.0f);
    }
    head->m_next->QueueCommand(BoxCommandKind::ListLayout, 5.0f);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(head->m_windowStart, 1u);
    EXPECT_EQ(Shown(head).size(), 8u);

    // A window start set past the end by hand is brought back before it is used.
    head->m_windowStart = 40;
    head->QueueCommand(BoxCommandKind::ScrollBack, 5.0f);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(head->m_windowStart, 1u);

    // Down to the two arrows.
    while (head->m_members.size() > 2) {
        DeleteHudBox(gameData, head->m_members[1]);
    }
    head->QueueCommand(BoxCommandKind::ScrollForward, 5.0f);
    head->QueueCommand(BoxCommandKind::ScrollBack, 5.0f);
    head->m_next->QueueCommand(BoxCommandKind::ListLayout, 5.0f);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(head->m_windowStart, 1u);
    EXPECT_EQ(head->m_next->m_next, head->m_members.back());
    EXPECT_EQ(head->m_members.back()->m_anchor, head->m_next);
}

TEST_F(BoxList, DeletingABoxClearsTheSelectionThatPointsAtIt) {
    BoxObject* head = MakeList(3, false);
    BoxObject* row = head->m_members[1];
    row->QueueCommand(BoxCommandKind::Select, 0.0f);
    row->Update(0.02f);
    ASSERT_EQ(context.selectedBox, row);
    DeleteHudBox(gameData, row);
    EXPECT_EQ(context.selectedBox, nullptr);
    EXPECT_EQ(gameData.m_hudBoxes.size(), 4u);
    // A box that is not in the list is left alone.
    BoxObject outside;
    DeleteHudBox(gameData, &outside);
    EXPECT_EQ(gameData.m_hudBoxes.size(), 4u);
}

} // namespace
