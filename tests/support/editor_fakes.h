// Doubles of the editor's windows: a document that reports its changes as the real component
// does, selections in characters, and the boxes of the search window and the add-entry dialog.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/add_entry.h"
#include "editor/editor.h"
#include "editor/search.h"
#include "platform/system.h"
#include "text/replace.h"

namespace zk::test {

class FakeRandom : public Random {
 public:
  int between(int low, int high) override {
    calls.push_back({low, high});
    return value < low ? low : value > high ? high : value;
  }
  int value = 0;
  std::vector<std::pair<int, int>> calls;
};

class FakeEditorView : public EditorView {
 public:
  std::function<void()> onChange;  // the logic's onTextChanged

  std::string text() const override {
    ++textReads;
    return doc;
  }
  std::size_t textBytes() const override { return doc.size(); }
  void setText(const std::string& t, bool undoable) override {
    afterClose += closed;
    if (undoable) undo.push_back(doc);
    doc = t;
    sel = {};
    changed();
  }
  Selection selection() const override { return sel; }
  void select(Selection s) override { sel = s; }
  // A rectangular selection: its pieces, line by line, as the component keeps them. Reading it
  // or replacing it as one text is the fault this double reports.
  std::vector<Selection> pieces;
  void useStreamSelection() override {
    if (pieces.empty()) return;
    sel = {pieces.front().start, pieces.back().start + pieces.back().length - pieces.front().start};
    pieces.clear();
  }
  std::string selectedText() const override {
    if (!pieces.empty()) ADD_FAILURE() << "a rectangular selection read as one text";
    std::size_t a = byteOffsetOfChar(doc, sel.start), b = byteOffsetOfChar(doc, sel.start + sel.length);
    return doc.substr(a, b - a);
  }
  void replaceSelection(const std::string& t) override {
    if (!pieces.empty()) ADD_FAILURE() << "a rectangular selection replaced as one text";
    afterClose += closed;
    std::size_t a = byteOffsetOfChar(doc, sel.start), b = byteOffsetOfChar(doc, sel.start + sel.length);
    undo.push_back(doc);
    doc.replace(a, b - a, t);
    sel = {sel.start + charCount(t), 0};
    changed();
  }
  void selectAll() override { sel = {0, charCount(doc)}; }
  void focusDocument() override { focus.push_back("document"); }
  std::string quickSearchText() const override { return quick; }
  void setQuickSearchText(const std::string& t) override { quick = t; }
  void focusQuickSearch() override { focus.push_back("quick"); }
  void setSaveIndicator(bool c) override {
    afterClose += closed;
    yellow = c;
  }
  int windowWidth() const override { return width; }
  void setStrip(bool visible, int w) override {
    stripVisible = visible;
    stripWidth = w;
  }
  void close() override { ++closed; }

  // The user at the keyboard: typing at the caret, and undo.
  void type(const std::string& t) {
    std::size_t a = byteOffsetOfChar(doc, sel.start);
    undo.push_back(doc);
    doc.insert(a, t);
    sel = {sel.start + charCount(t), 0};
    changed();
  }
  void undoLast() {
    doc = undo.back();
    undo.pop_back();
    changed();
  }

  std::string doc;
  Selection sel;
  std::string quick;
  bool yellow = false;
  bool stripVisible = false;
  int stripWidth = 0, width = 700, closed = 0;
  int afterClose = 0;  // changes asked for once the window was closed
  mutable int textReads = 0;
  std::vector<std::string> focus;
  std::vector<std::string> undo;

 private:
  void changed() {
    if (onChange) onChange();
  }
};

class FakeSearchView : public SearchView {
 public:
  void layOut(SearchMode m) override { layouts.push_back(m); }
  void setTitle(const std::string& t) override { title = t; }
  std::string searchText() const override { return search; }
  std::string findText() const override { return find; }
  std::string replacementText() const override { return replacement; }
  void focusSearchBox() override { focus.push_back("search"); }
  void focusDocument() override { focus.push_back("document"); }
  void close() override { ++closed; }

  std::vector<SearchMode> layouts;
  std::string title = "搜索替换", search, find, replacement;
  std::vector<std::string> focus;
  int closed = 0;
};

class FakeAddEntryView : public AddEntryView {
 public:
  std::function<void()> onDomainChange;  // the box reports every change, its own writes too

  std::string ip() const override { return ipText; }
  std::string domain() const override { return domainText; }
  void setIp(const std::string& t) override {
    ipText = t;
    ipCaretAtEnd = true;
  }
  void setDomain(const std::string& t) override {
    ++domainWrites;
    domainText = t;
    domainCaretAtEnd = true;
    if (onDomainChange) onDomainChange();
  }
  void putDomainCaretAtEnd() override { domainCaretAtEnd = true; }
  void close() override { ++closed; }
  // The user types or pastes into the name box.
  void typeDomain(const std::string& t) {
    domainText += t;
    domainCaretAtEnd = false;
    if (onDomainChange) onDomainChange();
  }

  std::string ipText = AddEntryLogic::kInitialIp, domainText;
  bool ipCaretAtEnd = false, domainCaretAtEnd = false;
  int domainWrites = 0, closed = 0;
};

}  // namespace zk::test
