// The port list: built from the serial-port map, the maker's adapter tagged
// and preferred, following ports plugged in and pulled out, and the COM
// number the link is given.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wizard/update_fixture.h"

namespace {

using platform::SerialPortMapValue;

std::vector<std::string> Entries(const forms::StringList& list) {
  return list.Strings();
}

class PortDiscoveryTest : public kst_test::UpdateFixture {
 protected:
  TFormMj& StartWith(std::vector<SerialPortMapValue> values) {
    w.port_map.Set(std::move(values));
    return w.Start();
  }
};

TEST(PortNumberOfTest, ReadsTheNumberAfterCom) {
  const std::vector<std::pair<std::string, int>> cases{{"COM7", 7},
                                                       {" \tcom12 \r\n", 12},
                                                       {"COM4 : VORANEX", 4},
                                                       {"COM100", 100},
                                                       {"COM90", 90},
                                                       {"No serial port", -1},
                                                       {"COMX", -2},
                                                       {"Port COM", -2},
                                                       {"COM99999999999", -2},
                                                       {"Pas de port serie", -1}};
  for (const auto& [entry, number] : cases)
    EXPECT_EQ(TFormMj::PortNumberOf(entry), number) << entry;
}

TEST_F(PortDiscoveryTest, AdapterIsTaggedAndPreferred) {
  TFormMj& form = StartWith({{"\\Device\\Serial0", "COM1"}, {"\\Device\\Silabser0", "COM4"}});
  EXPECT_EQ(Entries(*form.PortList), (std::vector<std::string>{"COM1", "COM4 : VORANEX"}));
  EXPECT_EQ(form.PreferredPort, "COM4 : VORANEX");

  // The same ports in another order are no change; a second adapter enumerated
  // first wins the preference.
  w.port_map.Set({{"\\Device\\Silabser0", "COM4"}, {"\\Device\\Serial0", "COM1"}});
  EXPECT_FALSE(form.ScanSerialPorts());
  w.port_map.Set({{"\\Device\\Silabser1", "COM9"}, {"\\Device\\Silabser0", "COM4"}});
  EXPECT_TRUE(form.ScanSerialPorts());
  EXPECT_EQ(form.PreferredPort, "COM9 : VORANEX");

  // No map at all: nothing changes but the preference.
  w.port_map.RemoveKey();
  EXPECT_FALSE(form.ScanSerialPorts());
  EXPECT_EQ(form.PreferredPort, "");
  EXPECT_EQ(form.PortList->Count(), 2);
}

TEST_F(PortDiscoveryTest, AnEmptyMapGivesTheNoPortEntryOnce) {
  TFormMj& form = StartWith({{"\\Device\\Serial0", "COM1"}});
  w.port_map.Set({});
  EXPECT_TRUE(form.ScanSerialPorts());
  EXPECT_EQ(Entries(*form.PortList), (std::vector<std::string>{"Pas de port serie"}));
  EXPECT_FALSE(form.ScanSerialPorts());
}

TEST_F(PortDiscoveryTest, APortNamedTwiceInTheMapCountsOnce) {
  // Two values naming COM1 must not make up for COM2 pulled out.
  TFormMj& form = StartWith({{"\\Device\\Serial0", "COM1"}, {"\\Device\\Serial1", "COM2"}});
  w.port_map.Set({{"\\Device\\Serial0", "COM1"}, {"\\Device\\VCP0", "COM1"}});
  EXPECT_TRUE(form.ScanSerialPorts());
  EXPECT_EQ(Entries(*form.PortList), (std::vector<std::string>{"COM1"}));
  EXPECT_FALSE(form.ScanSerialPorts());
}

TEST_F(PortDiscoveryTest, ListFollowsThePortsOnStepsOneToFive) {
  TFormMj& form = StartWith({{"\\Device\\Serial0", "COM1"}});
  w.port_map.SetValue("\\Device\\Silabser0", "COM4");
  w.backend.RunFor(1000);
  EXPECT_EQ(form.PortList->Count(), 2);  // steps 1 to 4 keep the list current unseen

  for (int step = 1; step < 5; ++step) ASSERT_TRUE(w.backend.Click(form.ButtonSuivant));
  ASSERT_EQ(form.Step, 5);
  auto& list = form.ListBoxSelectLangPort;
  EXPECT_EQ(list.ItemIndex(), 1);             // the adapter, preselected
  ASSERT_TRUE(w.backend.ClickItem(list, 0));  // the user prefers COM1

  // A new port, sorted before COM1: the list gains it and COM1 stays selected.
  w.port_map.SetValue("\\Device\\Serial1", "COM0");
  w.backend.RunFor(1000);
  EXPECT_EQ(Entries(list.Items()), (std::vector<std::string>{"COM0", "COM1", "COM4 : VORANEX"}));
  EXPECT_EQ(list.Items()[list.ItemIndex()], "COM1");

  // An unchanged map leaves the list and the selection alone.
  ASSERT_TRUE(w.backend.ClickItem(list, 2));
  w.backend.RunFor(3000);
  EXPECT_EQ(list.ItemIndex(), 2);

  // The selected adapter is pulled out: nothing is selected and Next stays.
  w.port_map.RemoveValue("\\Device\\Silabser0");
  w.backend.RunFor(1000);
  EXPECT_EQ(list.Items().Count(), 2);
  EXPECT_EQ(list.ItemIndex(), -1);
  ASSERT_TRUE(w.backend.Click(form.ButtonSuivant));
  EXPECT_EQ(form.Step, 5);
}

TEST_F(PortDiscoveryTest, AfterCancelTheWakeUpGoesToThePortChosenNext) {
  // The device sits on COM4; the user first picks COM1 (nothing there answers).
  w.serial.AddDevice(1).faults().silent = true;
  sim::LoaderDevice& device = AddDevice();
  TFormMj& form = w.Start();
  for (int step = 1; step < 5; ++step) ASSERT_TRUE(w.backend.Click(form.ButtonSuivant));
  ASSERT_TRUE(w.backend.ClickItem(form.ListBoxSelectLangPort, 0));
  ASSERT_TRUE(w.backend.Click(form.ButtonSuivant));
  ASSERT_TRUE(w.backend.Click(form.ButtonSuivant));
  w.backend.RunFor(5000);  // the wait opened COM1
  ASSERT_TRUE(w.serial.IsOpen(1));

  ASSERT_TRUE(w.backend.Click(form.ButtonPrecedant));  // Cancel: step 6
  ASSERT_TRUE(w.backend.Click(form.ButtonPrecedant));  // step 5
  ASSERT_TRUE(w.backend.ClickItem(form.ListBoxSelectLangPort, 1));
  ASSERT_TRUE(w.backend.Click(form.ButtonSuivant));
  ASSERT_TRUE(w.backend.Click(form.ButtonSuivant));

  ASSERT_TRUE(RunUpdate(form));
  EXPECT_EQ(form.Step, 10);
  EXPECT_FALSE(w.serial.IsOpen(1));
  EXPECT_EQ(device.data()[127], 5);
}

}  // namespace
