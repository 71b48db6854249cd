#include <gtest/gtest.h>

#include "nettools/bandwidth.h"
#include "tests/support/fakes.h"

namespace zk {
namespace {

TEST(Bandwidth, NumbersInTheirShortestThirteenDigitForm) {
  EXPECT_EQ(generalNumber(12800), "12800");
  EXPECT_EQ(generalNumber(12.5), "12.5");
  EXPECT_EQ(generalNumber(0.01220703125), "0.01220703125");
  EXPECT_EQ(generalNumber(0.0001220703125), "0.0001220703125");
  EXPECT_EQ(generalNumber(1.220703125e-5), "1.220703125e-005");
  EXPECT_EQ(generalNumber(0.1 / 8), "0.0125");
  EXPECT_EQ(generalNumber(1.0 / 3), "0.3333333333333");
  EXPECT_EQ(generalNumber(9999999999999.0), "9999999999999");
  EXPECT_EQ(generalNumber(10000000000000.0), "1e+013");
  EXPECT_EQ(generalNumber(99999999999999.5), "1e+014");  // rounding moves the exponent
  EXPECT_EQ(generalNumber(1.5e300), "1.5e+300");
  EXPECT_EQ(generalNumber(-0.5), "-0.5");
  EXPECT_EQ(generalNumber(0), "0");
}

TEST(Bandwidth, OnlyDecimalNumbersAfterFoldingFullWidthForms) {
  EXPECT_EQ(bandwidthNumber("100"), 100);
  EXPECT_EQ(bandwidthNumber("１００"), 100);
  EXPECT_EQ(bandwidthNumber("\xE3\x80\x80 ２.５M"), 2.5);  // ideographic space, full-width digits
  EXPECT_EQ(bandwidthNumber("1e3"), 1000);
  EXPECT_EQ(bandwidthNumber("1e"), 1);
  EXPECT_EQ(bandwidthNumber("-4"), -4);
  EXPECT_EQ(bandwidthNumber(".5"), 0.5);
  for (const char* none : {"", "abc", "inf", "nan", "0x10", "1e999", "101010e303", "。", "."})
    EXPECT_EQ(bandwidthNumber(none), 0) << none;
  EXPECT_EQ(foldFullWidth("ＡＢｃ！～"), "ABc!~");
  EXPECT_EQ(foldFullWidth("中文"), "中文");
}

TEST(Bandwidth, TheSentenceEchoesTheInputAndCarriesTheValues) {
  const std::string s = bandwidthSentence("100");
  EXPECT_EQ(s,
            "    经过计算，100M的宽带，标准下载速度(极限最高速度)为：12800KB/s；按MB计算是：12.5MB/s；按GB计算是："
            "0.01220703125GB/s。您也可认为这是最高下载速度。但实际应用中，由于多种原因，往往我们上网都低于 "
            "12800KB/s。\r\n    以上就是Zelkora为您提供的信息，仅供参考。");
  EXPECT_NE(bandwidthSentence("1").find("：128KB/s；按MB计算是：0.125MB/s；按GB计算是：0.0001220703125GB/s"),
            std::string::npos);
  EXPECT_NE(bandwidthSentence("0.1").find("1.220703125e-005GB/s"), std::string::npos);
  EXPECT_NE(bandwidthSentence("").find("，M的宽带，标准下载速度(极限最高速度)为：0KB/s；按MB计算是：0MB/s"),
            std::string::npos);
  const std::string wide = bandwidthSentence("１００");
  EXPECT_NE(wide.find("经过计算，１００M的宽带"), std::string::npos);
  EXPECT_NE(wide.find("12800KB/s；"), std::string::npos);
}

struct FakeBandwidthView : BandwidthView {
  std::string input() const override { return typed; }
  void setOutput(const std::string& t) override { output = t; }
  void showCopiedLabel() override { ++labelShown; }
  void close() override { ++closed; }
  std::string typed, output;
  int labelShown = 0, closed = 0;
};

TEST(Bandwidth, EveryChangeCopiesAndTheLabelSaysOnlyWhatHappened) {
  FakeBandwidthView view;
  test::FakeMainView main;
  test::FakeClipboard clipboard;
  BandwidthLogic logic(view, main, clipboard);
  logic.onCreated();
  EXPECT_FALSE(main.shown);
  view.typed = "1";
  logic.onCommand(BandwidthCommand::InputChanged);
  EXPECT_EQ(clipboard.content, view.output);
  EXPECT_EQ(view.labelShown, 1);
  view.typed = "";
  logic.onCommand(BandwidthCommand::InputChanged);
  EXPECT_EQ(clipboard.content, bandwidthSentence(""));
  clipboard.writable = false;
  view.typed = "2";
  logic.onCommand(BandwidthCommand::InputChanged);
  EXPECT_EQ(view.output, bandwidthSentence("2"));
  EXPECT_EQ(view.labelShown, 2);
  logic.onCommand(BandwidthCommand::Close);
  EXPECT_TRUE(main.shown);
  EXPECT_EQ(view.closed, 1);
}

}  // namespace
}  // namespace zk
