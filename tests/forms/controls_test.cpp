#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "forms/application.h"
#include "forms/combo_box.h"
#include "forms/headless/headless_backend.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/progress_bar.h"

namespace forms {
namespace {

class Recorder final : public ComponentPeer {
 public:
  explicit Recorder(std::vector<Property>& log) : log_(log) {}
  void Changed(Property property) override { log_.push_back(property); }

 private:
  std::vector<Property>& log_;
};

struct Fixture {
  platform::VirtualClock clock;
  HeadlessBackend backend{clock};
  Application app{backend};
  Form form{app, "Form"};
};

TEST(ControlsTest, PeerHearsOfEveryPropertyChange) {
  Fixture f;
  Label label(&f.form, "Label");
  std::vector<Property> log;
  label.SetPeer(std::make_unique<Recorder>(log));
  label.SetCaption("a");
  label.SetVisible(false);
  label.SetFontStyle(kBold);
  label.SetLeft(3);
  label.SetAlignment(Alignment::Center);
  EXPECT_EQ(log, (std::vector<Property>{Property::Caption, Property::Visible, Property::Font,
                                        Property::Bounds, Property::Alignment}));
  EXPECT_EQ(label.Font().style, kBold);
  EXPECT_EQ(label.Font().size, 8);
  EXPECT_EQ(f.form.Components(), (std::vector<Component*>{&label}));
}

TEST(ControlsTest, ProgressBarHoldsItsPositionWithinTheRange) {
  Fixture f;
  ProgressBar bar(&f.form, "Bar");
  bar.SetMax(20);
  bar.SetPosition(25);
  EXPECT_EQ(bar.Position(), 20);
  bar.SetPosition(-1);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(15);
  bar.SetMax(10);
  EXPECT_EQ(bar.Position(), 10);
  bar.SetMin(12);  // drags the maximum and the position along
  EXPECT_EQ(bar.Max(), 12);
  EXPECT_EQ(bar.Position(), 12);
  bar.SetMin(0);
  bar.SetMax(3);
  bar.SetStep(2);
  bar.StepIt();
  bar.StepIt();
  EXPECT_EQ(bar.Position(), 3);
}

TEST(ControlsTest, ListSelectionStaysWithinTheItems) {
  Fixture f;
  ListBox list(&f.form, "List");
  list.AddItem("b");
  list.AddItem("a");
  list.SetItemIndex(1);
  EXPECT_EQ(list.ItemIndex(), 1);
  list.SetItemIndex(2);
  EXPECT_EQ(list.ItemIndex(), -1);
  list.SetItemIndex(0);
  list.SetSorted(true);
  list.AddItem("A");  // a list box keeps equal texts
  EXPECT_EQ(list.Items().Strings(), (std::vector<std::string>{"a", "A", "b"}));
  EXPECT_EQ(list.ItemIndex(), -1);
  ComboBox combo(&f.form, "Combo");
  combo.SetItemIndex(0);
  EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST(ControlsTest, HeadlessUserActsOnlyOnVisibleEnabledControls) {
  Fixture f;
  f.form.Show();
  Button button(&f.form, "Button");
  int clicks = 0;
  button.OnClick = [&clicks](Component* sender) {
    EXPECT_EQ(sender->Name(), "Button");
    ++clicks;
  };
  EXPECT_TRUE(f.backend.Click(button));
  button.SetEnabled(false);
  EXPECT_FALSE(f.backend.Click(button));
  button.SetEnabled(true);
  button.SetVisible(false);
  EXPECT_FALSE(f.backend.Click(button));
  EXPECT_FALSE(f.backend.PressEnter(f.form));
  button.SetVisible(true);
  button.SetDefault(true);
  EXPECT_TRUE(f.backend.PressEnter(f.form));
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace forms
