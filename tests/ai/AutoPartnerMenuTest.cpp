// The AutoPartner menu: titles, the add and remove commands, enabling and checks.
#include <gtest/gtest.h>

#include <string>

#include "ai/CAutoPartnerMenu.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

TEST(AutoPartnerMenuTest, TitlesAndNames) {
    EXPECT_STREQ(CAutoPartnerMenu::Title(1), "&Ivla");
    EXPECT_STREQ(CAutoPartnerMenu::Title(4), "&Olvessa");
    EXPECT_STREQ(CAutoPartnerMenu::Name(2), "Medra");
    EXPECT_STREQ(CAutoPartnerMenu::Name(3), "Tesiva");
    EXPECT_STREQ(CAutoPartnerMenu::Title(0), "");
    EXPECT_STREQ(CAutoPartnerMenu::Name(5), "");
}

TEST(AutoPartnerMenuTest, ChoosingAddsThenRemoves) {
    CaptureSender sender;
    CAutoPartnerMenu menu(sender);
    EXPECT_TRUE(menu.IsEnabled(2, true));
    EXPECT_FALSE(menu.IsEnabled(2, false));
    menu.Choose(2);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].cmd, 18);
    EXPECT_EQ(sender.sent[0].text, std::string("\x02"));
    EXPECT_EQ(sender.sent[0].from, -1);
    EXPECT_TRUE(menu.IsChecked(2));
    EXPECT_TRUE(menu.IsEnabled(2, false)); // our partner holds the seat
    menu.Choose(2);
    EXPECT_EQ(sender.sent[1].cmd, 19);
    EXPECT_FALSE(menu.IsChecked(2));
    menu.Choose(0);
    menu.Choose(5);
    EXPECT_EQ(sender.sent.size(), 2u);
}
