#include <gtest/gtest.h>

#include "gui/VDEvent.h"
#include "gui/VDKey.h"

namespace {

TEST(EventTest, EachClassCarriesItsTypeCodeAndRouting) {
    struct Expect {
        const VDEvent& event;
        int type;
        int routing;
    };
    VDRedisplayEvent redisplay;
    VDResizeEvent resize(640, 480);
    VDMouseMoveEvent move(1, 2);
    VDMouseUpEvent up(0, 3, 4);
    VDMouseDownEvent down(2, 5, 6);
    VDKeyUpEvent keyUp(VDKey(13));
    VDKeyDownEvent keyDown(VDKey(0x2063));
    VDRedisplayRequestEvent request;
    VDScrollValueEvent scroll(7, 42);
    VDButtonPressEvent press(65000);
    VDCloseEvent close(1);
    const Expect all[] = {{redisplay, 1, 1}, {resize, 2, 1}, {move, 3, 1},    {up, 4, 1},
                          {down, 5, 1},      {keyUp, 6, 1},  {keyDown, 7, 1}, {request, 8, 0},
                          {scroll, 9, 0},    {press, 10, 0}, {close, 11, 0}};
    for (const Expect& e : all) {
        EXPECT_EQ(e.type, e.event.getType());
        EXPECT_EQ(e.routing, e.event.getRouting()) << "type " << e.type;
    }

    EXPECT_EQ(640, resize.getWidth());
    EXPECT_EQ(480, resize.getHeight());
    EXPECT_EQ(2, down.getButton());
    EXPECT_EQ(5, down.getX());
    EXPECT_EQ(6, down.getY());
    EXPECT_EQ(0x2063, keyDown.getKey().getValue());
    EXPECT_EQ(7, scroll.getSourceId());
    EXPECT_EQ(42, scroll.getValue());
    EXPECT_EQ(65000, press.getSourceId());

    press.setRouting(VDEvent::ROUTE_BOTH);
    EXPECT_EQ(2, press.getRouting());
    EXPECT_EQ(10, press.getType());
}

TEST(EventTest, KeyValueSplitsIntoCodeModifiersAndCharacter) {
    VDKey key('c');
    key.addControl();
    EXPECT_EQ(0x2063, key.getValue());
    EXPECT_EQ('c', key.getCode());
    EXPECT_FALSE(key.isShift());
    EXPECT_TRUE(key.isPrintable()) << "printability ignores the modifier bits";

    VDKey shifted = VDKey(VDKey::KEY_TAB).addShift();
    EXPECT_EQ(0x1009, shifted.getValue());
    EXPECT_TRUE(shifted.isShift());
    EXPECT_FALSE(shifted.isPrintable());
    EXPECT_EQ(0x4000 | 'q', VDKey('q').addAlt().getValue());

    EXPECT_EQ(VDKey::KEY_INSERT, VDKey(0x2114).getCode());
    EXPECT_EQ(0x14, VDKey(0x2114).getChar()) << "the low byte only";
    EXPECT_TRUE(VDKey(32).isPrintable());
    EXPECT_TRUE(VDKey(126).isPrintable());
    EXPECT_FALSE(VDKey(31).isPrintable());
    EXPECT_FALSE(VDKey(127).isPrintable());
    EXPECT_FALSE(VDKey(VDKey::KEY_DOWN).isPrintable());
    EXPECT_EQ(0, VDKey().getValue());
}

}  // namespace
