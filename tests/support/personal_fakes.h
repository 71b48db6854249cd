// Fake views of the customisation form, the settings window's group and the customisation window.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "personal/personal_window.h"
#include "personal/settings_group.h"

namespace zk::test {

// Setting a box's text reports a change through onChange, as a Win32 edit box's EN_CHANGE does.
template <class Base>
class FakeFormViewOf : public Base {
 public:
  std::string fieldText(PersonalField f) const override {
    auto it = fields.find(f);
    return it == fields.end() ? std::string() : it->second;
  }
  void setFieldText(PersonalField f, const std::string& t) override {
    fields[f] = t;
    ++sets[f];
    if (onChange) onChange(f);
  }
  bool ticked(PersonalBox b) const override {
    auto it = boxes.find(b);
    return it != boxes.end() && it->second;
  }
  void setTicked(PersonalBox b, bool on) override { boxes[b] = on; }
  void setNicknameCaption(const std::string& t) override { caption = t; }
  void setNicknameDigitsOnly(bool d) override { digitsOnly = d; }
  void setNicknameBackground(Rgb c) override { backgrounds.push_back(c); }
  void setActionEnabled(bool e) override { actionStates.push_back(e); }
  void focus(PersonalField f) override { focused.push_back(f); }

  // What the user does: types into a box (the change is reported), clicks a box.
  void type(PersonalField f, const std::string& t) { setFieldText(f, t); }

  std::function<void(PersonalField)> onChange;
  std::map<PersonalField, std::string> fields;
  std::map<PersonalField, int> sets;
  std::map<PersonalBox, bool> boxes;
  std::string caption;
  bool digitsOnly = false;
  std::vector<Rgb> backgrounds;
  std::vector<bool> actionStates;
  std::vector<PersonalField> focused;
};

class FakeGroupView : public FakeFormViewOf<PersonalGroupView> {
 public:
  int windowWidth() const override { return width; }
  void setWindowWidth(int w) override {
    width = w;
    widths.push_back(w);
  }
  bool cancelTicked() const override { return cancel; }
  void setCancelTicked(bool t) override { cancel = t; }
  int width = 460;
  std::vector<int> widths;
  bool cancel = false;
};

class FakePersonalWindowView : public FakeFormViewOf<PersonalWindowView> {
 public:
  void setStartCaption(const std::string& t) override { captions.push_back(t); }
  void setOverlay(bool shown) override { overlay = shown, overlayChanges.push_back(shown); }
  void setOutlineShown(bool shown) override { outline = shown; }
  void close() override { ++closed; }
  std::vector<std::string> captions;
  bool overlay = false;
  std::vector<bool> overlayChanges;
  bool outline = false;
  int closed = 0;
};

}  // namespace zk::test
