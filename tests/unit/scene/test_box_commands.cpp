// The command queue of a HUD box: timing, movement, clicks, folding chains and the press pulse.
#include "test_box_support.h"

using namespace boxtest;

namespace {

BoxCommand Command(BoxCommandKind kind, float speed, plat::Vector3 at = {0.0f, 0.0f, 0.0f},
                   float time = 0.0f) {
    BoxCommand command;
    command.m_kind = kind;
    command.m_x = at.x;
    command.m_y = at.y;
    command.m_z = at.z;
    command.m_speed = speed;
    command.m_time = time;
    return command;
}

class BoxCommands : public BoxTest {};

TEST_F(BoxCommands, AWaitHoldsTheMoveUntilTheFrameAfterItsTimeRunsOut) {
    BoxObject* box = NewBox();
    box->QueueCommand(Command(BoxCommandKind::Wait, 0.0f, {}, 0.5f));
    box->QueueCommand(Command(BoxCommandKind::MoveTo, 1.0f, {10.0f, 0.0f, 0.0f}));

    box->Update(0.2f);
    box->Update(0.2f);
    EXPECT_EQ(box->m_commands.size(), 2u);
    // The wait's time drops below 0 here: it is done, and the move has not started.
    box->Update(0.2f);
    ASSERT_EQ(box->m_commands.size(), 1u);
    EXPECT_EQ(box->m_commands.front().m_kind, BoxCommandKind::MoveTo);
    EXPECT_FLOAT_EQ(box->m_layoutPosition.x, 0.0f);
    // Speed 1 is 10 units a second.
    box->Update(0.2f);
    EXPECT_FLOAT_EQ(box->m_layoutPosition.x, 2.0f);
}

TEST_F(BoxCommands, MovesGoStraightAndSnapOntoTheTargetWhenTheStepReachesIt) {
    BoxObject* box = NewBox();
    box->QueueCommand(Command(BoxCommandKind::MoveTo, 1.0f, {3.0f, 0.0f, 4.0f}));
    box->Update(0.1f);
    EXPECT_NEAR(box->m_layoutPosition.x, 0.6f, 1e-5f);
    EXPECT_NEAR(box->m_layoutPosition.z, 0.8f, 1e-5f);
    EXPECT_EQ(box->m_commands.size(), 1u);

    // 4 units left, a step of 4.5: the box lands exactly, not past the target.
    box->Update(0.45f);
    EXPECT_EQ(box->m_layoutPosition.x, 3.0f);
    EXPECT_EQ(box->m_layoutPosition.z, 4.0f);
    EXPECT_TRUE(box->m_commands.empty());

    // While the game is paused (delta 0) nothing moves.
    box->QueueCommand(Command(BoxCommandKind::MoveTo, 1.0f, {0.0f, 0.0f, 0.0f}));
    box->Update(0.0f);
    EXPECT_EQ(box->m_layoutPosition.x, 3.0f);
    EXPECT_EQ(box->m_commands.size(), 1u);
}

TEST_F(BoxCommands, TheForwardArrowNeverMovesAndAnUnknownCommandBlocksTheQueue) {
    BoxObject* arrow = NewBox(2.0f, 0.0f);
    arrow->m_actionId = kBoxActionScrollForward;
    arrow->QueueCommand(Command(BoxCommandKind::MoveTo, 1.0f, {9.0f, 0.0f, 0.0f}));
    arrow->Update(0.05f);
    EXPECT_TRUE(arrow->m_commands.empty());
    EXPECT_EQ(arrow->m_layoutPosition.x, 2.0f);

    BoxObject* box = NewBox();
    BoxCommand unknown = Command(BoxCommandKind::MoveTo, 1.0f);
    unknown.m_kind = static_cast<BoxCommandKind>(13);
    box->QueueCommand(unknown);
    box->QueueCommand(Command(BoxCommandKind::MoveTo, 1.0f, {1.0f, 0.0f, 0.0f}));
    Step(0.05f, 20);
    EXPECT_EQ(box->m_commands.size(), 2u);
    EXPECT_EQ(box->m_layoutPosition.x, 0.0f);
}

TEST_F(BoxCommands, AClickDispatchesOnceThenBouncesBackToItsBaseSize) {
    BoxObject* box = NewBox(0.0f, 0.0f, 2.0f, 0.5f);
    box->m_actionId = kBoxActionOptions;
    box->QueueCommand(Command(BoxCommandKind::Click, 0.0f));

    float smallest = 2.0f;
    int frames = 0;
    while (!box->m_commands.empty() && frames < 200) {
        box->Update(0.01f);
        smallest = std::min(smallest, box->m_boundingBox.m_scale[0]);
        ++frames;
    }
    ASSERT_TRUE(box->m_commands.empty());
    ASSERT_EQ(context.dispatched.size(), 1u);
    EXPECT_EQ(context.dispatched[0].first, 12);
    EXPECT_EQ(context.dispatched[0].second, box);
    EXPECT_EQ(context.selectedBox, box);
    // It shrank first (0.05 s at 3 units a second), then grew back and snapped to the base size.
    EXPECT_NEAR(smallest, 2.0f - 0.15f, 0.031f);
    EXPECT_EQ(box->m_boundingBox.m_scale[0], 2.0f);
    EXPECT_EQ(box->m_boundingBox.m_scale[1], 0.5f);
    // A box without a group flips its select byte once per click.
    EXPECT_TRUE(box->m_selectByte);
}

TEST_F(BoxCommands, ClicksAreDroppedWhilePausedExceptOnThePauseBoxAndAlwaysOnADisabledBox) {
    BoxObject* box = NewBox();
    box->m_actionId = kBoxActionOptions;
    BoxObject* pause = NewBox(2.0f, 0.0f);
    pause->m_actionId = kBoxActionPause;
    context.paused = true;
    box->QueueCommand(Command(BoxCommandKind::Click, 0.0f));
    pause->QueueCommand(Command(BoxCommandKind::Click, 0.0f));
    Step(0.02f);
    EXPECT_TRUE(box->m_commands.empty());
    EXPECT_EQ(box->m_boundingBox.m_scale[0], 1.0f);
    EXPECT_FALSE(box->m_selectByte);
    ASSERT_EQ(context.dispatched.size(), 1u);
    EXPECT_EQ(context.dispatched[0].first, kBoxActionPause);
    // A select is dropped as well.
    box->QueueCommand(Command(BoxCommandKind::Select, 0.0f));
    box->Update(0.02f);
    EXPECT_FALSE(box->m_selectByte);

    context.paused = false;
    box->Disable();
    box->QueueCommand(Command(BoxCommandKind::Click, 0.0f));
    box->Update(0.02f);
    EXPECT_TRUE(box->m_commands.empty());
    EXPECT_EQ(box->m_boundingBox.m_scale[0], 1.0f);
    EXPECT_EQ(context.dispatched.size(), 1u);
}

TEST_F(BoxCommands, ABounceCutShortByThePauseEndsAtTheBaseSize) {
    BoxObject* box = NewBox(0.0f, 0.0f, 2.0f, 1.0f);
    box->QueueCommand(Command(BoxCommandKind::Click, 0.0f));
    box->Update(0.02f);
    ASSERT_LT(box->m_boundingBox.m_scale[0], 2.0f);
    context.paused = true;
    box->Update(0.02f);
    EXPECT_TRUE(box->m_commands.empty());
    EXPECT_EQ(box->m_boundingBox.m_scale[0], 2.0f);
    EXPECT_EQ(box->m_boundingBox.m_scale[1], 1.0f);
}

TEST_F(BoxCommands, AClickOnAUnitsBoxSelectsTheUnitAndTheRosterIdPlacesTheMarker) {
    auto* unit = reinterpret_cast<KRUnit*>(&gameData); // only compared, never used
    BoxObject* box = NewBox();
    box->m_linkedUnit = unit;
    box->m_actionId = kBoxActionMerchantOffer;
    box->m_blinking = true;
    box->QueueCommand(Command(BoxCommandKind::Click, 0.0f));
    box->Update(0.02f);
    EXPECT_EQ(context.selectedUnit, unit);
    EXPECT_EQ(context.toolMode, kToolModeSelect);
    EXPECT_EQ(context.markerUnit, nullptr);
    EXPECT_FALSE(box->m_blinking);

    BoxObject* roster = NewBox();
    roster->m_linkedUnit = unit;
    roster->m_actionId = kBoxActionRosterUnit;
    context.toolMode = 0;
    roster->QueueCommand(Command(BoxCommandKind::Select, 0.0f));
    roster->Update(0.02f);
    // A select changes neither the tool nor the marker.
    EXPECT_EQ(context.toolMode, 0);
    EXPECT_EQ(context.markerUnit, nullptr);
    EXPECT_EQ(context.selectedBox, roster);
    EXPECT_TRUE(roster->m_commands.empty());
    roster->QueueCommand(Command(BoxCommandKind::Click, 0.0f));
    roster->Update(0.02f);
    EXPECT_EQ(context.markerUnit, unit);
}

TEST_F(BoxCommands, ClickingAChainHeadFoldsItsBoxesOutAndBackIn) {
    BoxObject* head = CreateHudBox(gameData, -2.0f, 0.0f, -4.0f, 1.25f, 0.5f, 1, 4, 1.0f, 0.0f, 0.0f, true,
                                   true, true, true, false, 0, 0);
    ASSERT_EQ(gameData.m_hudBoxes.size(), 4u);
    ASSERT_EQ(head->m_members.size(), 3u);
    for (BoxObject* member : head->m_members) {
        EXPECT_TRUE(member->m_folded);
        EXPECT_FALSE(member->m_pickable);
        EXPECT_EQ(member->m_layoutPosition.x, -2.0f);
    }

    head->QueueCommand(Command(BoxCommandKind::Click, 0.0f));
    ASSERT_TRUE(Settle());
    for (size_t k = 0; k < head->m_members.size(); ++k) {
        BoxObject* member = head->m_members[k];
        EXPECT_FALSE(member->m_folded);
        EXPECT_TRUE(member->m_pickable);
        EXPECT_NEAR(member->m_layoutPosition.x, -2.0f + 1.25f * static_cast<float>(k + 1), 1e-5f);
        EXPECT_FLOAT_EQ(member->m_layoutPosition.z, -4.0f);
    }

    head->QueueCommand(Command(BoxCommandKind::Click, 0.0f));
    ASSERT_TRUE(Settle());
    for (BoxObject* member : head->m_members) {
        EXPECT_TRUE(member->m_folded);
        EXPECT_FALSE(member->m_pickable);
        EXPECT_FLOAT_EQ(member->m_layoutPosition.x, -2.0f);
    }
}

TEST_F(BoxCommands, AClickClosesTheSubMenusOfTheOtherMembersOfItsGroup) {
    BoxObject* head = CreateHudBox(gameData, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1, 3, 1.0f, 0.0f, 0.0f, true, true,
                                   true, true, true, 0, 0);
    BoxObject* first = head->m_members[0];
    BoxObject* second = head->m_members[1];
    BoxObject* sub = CreateHudBox(gameData, 5.0f, 0.0f, 2.0f, 1.0f, 1.0f, 1, 2, 0.0f, 0.0f, -1.0f, true, true,
                                  true, true, true, 0, 0);
    first->m_child = sub;
    second->QueueCommand(Command(BoxCommandKind::Click, 0.0f));
    second->Update(0.02f);
    // The sub-menu and its chain are put back on their parent, folded away.
    EXPECT_EQ(sub->m_layoutPosition.x, first->m_layoutPosition.x);
    EXPECT_EQ(sub->m_next->m_layoutPosition.x, first->m_layoutPosition.x);
    EXPECT_TRUE(sub->m_folded);
    EXPECT_FALSE(sub->m_next->m_pickable);
}

TEST_F(BoxCommands, ReturnToAnchorFollowsTheChainAfterAShortWait) {
    BoxObject* head = CreateHudBox(gameData, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1, 3, 1.0f, 0.0f, 0.0f, true, true,
                                   true, true, true, 0, 0);
    BoxObject* first = head->m_members[0];
    BoxObject* second = head->m_members[1];
    head->m_layoutPosition = {4.0f, 0.0f, 1.0f};
    first->QueueCommand(Command(BoxCommandKind::ReturnToAnchor, 1.0f));
    first->Update(0.01f);
    ASSERT_EQ(second->m_commands.size(), 2u);
    EXPECT_EQ(second->m_commands.front().m_kind, BoxCommandKind::Wait);
    EXPECT_EQ(second->m_commands.back().m_kind, BoxCommandKind::ReturnToAnchor);
    // Steps long enough that each box arrives in one: the second follows the first where it ends.
    ASSERT_TRUE(Settle(1.0f));
    EXPECT_FLOAT_EQ(first->m_layoutPosition.x, 5.0f);
    EXPECT_FLOAT_EQ(first->m_layoutPosition.z, 1.0f);
    EXPECT_FLOAT_EQ(second->m_layoutPosition.x, 6.0f);
}

TEST_F(BoxCommands, SlidesMoveOneWidthFromWhereTheyStarted) {
    BoxObject* box = NewBox(1.0f, 0.0f, 1.5f, 1.0f);
    box->QueueCommand(Command(BoxCommandKind::SlideLeft, 0.0f));
    ASSERT_TRUE(Settle(0.05f, 50));
    EXPECT_FLOAT_EQ(box->m_layoutPosition.x, -0.5f);
    box->QueueCommand(Command(BoxCommandKind::SlideRight, 0.0f));
    box->Update(0.05f);
    EXPECT_FLOAT_EQ(box->m_layoutPosition.x, 0.5f);
    ASSERT_TRUE(Settle(0.05f, 50));
    EXPECT_FLOAT_EQ(box->m_layoutPosition.x, 1.0f);
}

TEST_F(BoxCommands, APressPulseHeldByFurtherPulsesEnlargesTheBoxAndOneAloneLeavesItAsItWas) {
    BoxObject* box = NewBox(0.0f, 0.0f, 2.0f, 1.0f);
    box->QueueCommand(Command(BoxCommandKind::PressPulse, 0.0f));
    box->Update(0.02f);
    box->Update(0.02f);
    EXPECT_TRUE(box->m_commands.empty());
    EXPECT_EQ(box->m_boundingBox.m_scale[0], 2.0f);

    // The hover queues one every frame: the box stays enlarged while it lasts.
    for (int frame = 0; frame < 5; ++frame) {
        box->QueueCommand(Command(BoxCommandKind::PressPulse, 0.0f));
        box->Update(0.02f);
        if (frame > 0) {
            EXPECT_FLOAT_EQ(box->m_boundingBox.m_scale[0], 2.4f);
            EXPECT_FLOAT_EQ(box->m_boundingBox.m_scale[1], 1.2f);
            EXPECT_EQ(box->m_commands.size(), 1u);
        }
    }
    box->Update(0.02f);
    EXPECT_TRUE(box->m_commands.empty());
    EXPECT_EQ(box->m_boundingBox.m_scale[0], 2.0f);

    // Behind a pulse, other commands are dropped; on a box that takes no clicks it ends at once.
    box->QueueCommand(Command(BoxCommandKind::PressPulse, 0.0f));
    box->QueueCommand(Command(BoxCommandKind::MoveTo, 1.0f, {5.0f, 0.0f, 0.0f}));
    Step(0.02f, 3);
    EXPECT_TRUE(box->m_commands.empty());
    EXPECT_EQ(box->m_layoutPosition.x, 0.0f);
    box->m_pickable = false;
    box->QueueCommand(Command(BoxCommandKind::PressPulse, 0.0f));
    box->Update(0.02f);
    EXPECT_TRUE(box->m_commands.empty());
}

} // namespace
