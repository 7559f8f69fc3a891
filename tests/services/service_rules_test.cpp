// The texts and history events of the services catalogue.
#include "services/service_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "core/history_names.h"

using namespace tov;

TEST(ServiceRules, StartTypeAndStateTexts) {
  EXPECT_EQ(StartTypeTextId(2), 664);
  EXPECT_EQ(StartTypeTextId(3), 665);
  EXPECT_EQ(StartTypeTextId(4), 666);
  for (unsigned long other : {0ul, 1ul, 5ul, 0xFFFFFFFFul}) EXPECT_EQ(StartTypeTextId(other), 0);

  for (unsigned long state = 1; state <= 7; ++state)
    EXPECT_EQ(ServiceStateTextId(state), 651 + int(state));
  EXPECT_EQ(ServiceStateTextId(0), 652);
  EXPECT_EQ(ServiceStateTextId(8), 652);
}

TEST(ServiceRules, ListedImagesAndCommandColumn) {
  EXPECT_TRUE(IsListedServiceImage("C:\\Program Files\\Agent\\agent.EXE -service"));
  EXPECT_TRUE(IsListedServiceImage("%SystemRoot%\\System32\\svchost -k netsvcs"));
  EXPECT_FALSE(IsListedServiceImage("system32\\DRIVERS\\tcpip.sys"));
  EXPECT_FALSE(IsListedServiceImage(nullptr));
  EXPECT_TRUE(IsSharedServiceImage("C:\\WINDOWS\\system32\\SVCHOST.exe -k x"));
  EXPECT_FALSE(IsSharedServiceImage("C:\\agent.exe"));

  char out[32];
  EXPECT_TRUE(ServiceCommandText(true, "C:\\WINDOWS\\system32\\wuauserv.dll", out, sizeof out));
  EXPECT_STREQ(out, "svchost.exe wuauserv.dll");
  EXPECT_TRUE(ServiceCommandText(false, "C:\\Agent\\agent.exe", out, sizeof out));
  EXPECT_STREQ(out, "agent.exe");
  EXPECT_TRUE(ServiceCommandText(false, "agent.exe", out, sizeof out));
  EXPECT_STREQ(out, "agent.exe");
  // Exact fit, one over, no room.
  std::string name(19, 'n');
  EXPECT_TRUE(ServiceCommandText(true, ("C:\\" + name).c_str(), out, sizeof out));
  EXPECT_FALSE(ServiceCommandText(true, ("C:\\" + name + "x").c_str(), out, sizeof out));
  EXPECT_EQ(std::string(out).size(), sizeof out - 1);
  EXPECT_FALSE(ServiceCommandText(true, "C:\\a", out, 0));
}

TEST(ServiceRules, StartChangeEventsNameTheFormerAndTheNewType) {
  EXPECT_STREQ(HistoryActionName(FormerStartAction(2)), "SERVICE_from_Automatic");
  EXPECT_STREQ(HistoryActionName(FormerStartAction(3)), "SERVICE_from_Manual");
  EXPECT_STREQ(HistoryActionName(FormerStartAction(4)), "SERVICE_from_Disabled");
  EXPECT_EQ(FormerStartAction(0), -1);
  EXPECT_EQ(FormerStartAction(1), -1);
  EXPECT_STREQ(HistoryActionName(NewStartAction(2)), "SERVICE_Automatic");
  EXPECT_STREQ(HistoryActionName(NewStartAction(3)), "SERVICE_Manual");
  EXPECT_STREQ(HistoryActionName(NewStartAction(4)), "SERVICE_Disabled");
  EXPECT_EQ(NewStartAction(1), -1);
  EXPECT_EQ(NewStartAction(5), -1);
}
