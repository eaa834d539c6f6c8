// Placement of axis texts: the alignment and anchor table for each side and angle, the
// stacking of lines, and the depth of the top and right axes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/axis_text.h"
#include "recording_canvas.h"

namespace {

// Alignment flags as the canvas receives them.
constexpr unsigned kLeftTop = 0, kRightTop = 2, kCentreTop = 6, kCentreBottom = 14;

struct PlacementCase {
  TAxisSide side;
  int angle;
  unsigned alignment;
  std::string write;  // the one logged text output
};

// Anchor (100, 50), one line "ab", font height 13 (half 6), depth 7.
const PlacementCase kPlacements[] = {
    {TAxisSide::Bottom, 0, kCentreTop, "WriteTextAtDepth(100,50,\"ab\",0)"},
    {TAxisSide::Top, 0, kCentreBottom, "WriteTextAtDepth(100,50,\"ab\",7)"},
    {TAxisSide::Left, 0, kRightTop, "WriteTextAtDepth(100,44,\"ab\",0)"},
    {TAxisSide::Right, 0, kLeftTop, "WriteTextAtDepth(100,44,\"ab\",7)"},
    {TAxisSide::Bottom, 90, kRightTop, "WriteRotatedTextAtDepth(94,50,90,\"ab\",0)"},
    {TAxisSide::Top, 90, kLeftTop, "WriteRotatedTextAtDepth(94,50,90,\"ab\",7)"},
    {TAxisSide::Left, 90, kCentreBottom, "WriteRotatedTextAtDepth(100,50,90,\"ab\",0)"},
    {TAxisSide::Right, 90, kCentreTop, "WriteRotatedTextAtDepth(100,50,90,\"ab\",7)"},
    {TAxisSide::Bottom, 180, kCentreBottom, "WriteRotatedTextAtDepth(100,50,180,\"ab\",0)"},
    {TAxisSide::Top, 180, kCentreTop, "WriteRotatedTextAtDepth(100,50,180,\"ab\",7)"},
    {TAxisSide::Left, 180, kLeftTop, "WriteRotatedTextAtDepth(100,56,180,\"ab\",0)"},
    {TAxisSide::Right, 180, kRightTop, "WriteRotatedTextAtDepth(100,56,180,\"ab\",7)"},
    {TAxisSide::Bottom, 270, kLeftTop, "WriteRotatedTextAtDepth(106,50,270,\"ab\",0)"},
    {TAxisSide::Top, 270, kRightTop, "WriteRotatedTextAtDepth(106,50,270,\"ab\",7)"},
    {TAxisSide::Left, 270, kCentreTop, "WriteRotatedTextAtDepth(100,50,270,\"ab\",0)"},
    {TAxisSide::Right, 270, kCentreBottom, "WriteRotatedTextAtDepth(100,50,270,\"ab\",7)"},
    {TAxisSide::Bottom, 45, kLeftTop, "WriteRotatedTextAtDepth(100,50,45,\"ab\",0)"},
    {TAxisSide::Right, 300, kLeftTop, "WriteRotatedTextAtDepth(100,50,300,\"ab\",7)"},
};

class AxisTextTest : public ::testing::Test {
 protected:
  // The alignments set and the texts written, in order.
  std::vector<std::string> Output() const {
    std::vector<std::string> output;
    for (const std::string& call : canvas_.Calls())
      if (call.starts_with("SetTextAlignment") || call.starts_with("Write")) output.push_back(call);
    return output;
  }

  TMeasuringCanvas canvas_;
};

TEST_F(AxisTextTest, AlignmentAndAnchorBySideAndAngle) {
  for (const PlacementCase& c : kPlacements) {
    canvas_.Clear();
    WriteAxisText(canvas_, c.side, 100, 50, "ab", c.angle, 7);
    const std::vector<std::string> expected = {"SetTextAlignment(" + std::to_string(c.alignment) + ")", c.write,
                                               "SetTextAlignment(0)"};
    EXPECT_EQ(Output(), expected) << "side " << int(c.side) << ", angle " << c.angle;
  }
}

TEST_F(AxisTextTest, HorizontalLinesOfALeftLabelAreCentredOnTheAnchor) {
  // Three lines of 13 pixels: the middle one sits where a single line would (y - half).
  WriteAxisText(canvas_, TAxisSide::Left, 100, 50, "a\rb\rc", 0, 0);
  EXPECT_EQ(canvas_.CallsStartingWith("Write"),
            (std::vector<std::string>{"WriteTextAtDepth(100,31,\"a\",0)", "WriteTextAtDepth(100,44,\"b\",0)",
                                      "WriteTextAtDepth(100,57,\"c\",0)"}));
}

TEST_F(AxisTextTest, UprightLinesOfABottomLabelStandSideBySide) {
  // Two lines: mid = Nearest(13 * 0.5 * 3) = Nearest(19.5) = 20; x = 100 - 6 - 20, then + 13 per line.
  WriteAxisText(canvas_, TAxisSide::Bottom, 100, 50, "a\rb", 90, 0);
  EXPECT_EQ(canvas_.CallsStartingWith("Write"),
            (std::vector<std::string>{"WriteRotatedTextAtDepth(87,50,90,\"a\",0)",
                                      "WriteRotatedTextAtDepth(100,50,90,\"b\",0)"}));
}

TEST_F(AxisTextTest, LinesOfABottomLabelStackDownward) {
  WriteAxisText(canvas_, TAxisSide::Bottom, 100, 50, "a\rb", 0, 0);
  EXPECT_EQ(canvas_.CallsStartingWith("Write"),
            (std::vector<std::string>{"WriteTextAtDepth(100,50,\"a\",0)", "WriteTextAtDepth(100,63,\"b\",0)"}));
}

TEST_F(AxisTextTest, LinesOfATopLabelEndAtTheAnchor) {
  // Bottom-aligned lines: the last one's bottom edge is the anchor.
  WriteAxisText(canvas_, TAxisSide::Top, 100, 50, "a\rb", 0, 0);
  EXPECT_EQ(canvas_.CallsStartingWith("Write"),
            (std::vector<std::string>{"WriteTextAtDepth(100,37,\"a\",0)", "WriteTextAtDepth(100,50,\"b\",0)"}));
}

TEST_F(AxisTextTest, OtherAnglesWriteEveryLineAtTheAnchor) {
  WriteAxisText(canvas_, TAxisSide::Left, 100, 50, "a\rb", 30, 0);
  EXPECT_EQ(canvas_.CallsStartingWith("Write"),
            (std::vector<std::string>{"WriteRotatedTextAtDepth(100,50,30,\"a\",0)",
                                      "WriteRotatedTextAtDepth(100,50,30,\"b\",0)"}));
}

TEST_F(AxisTextTest, EmptyTextWritesNothingAndATrailingSeparatorAddsNoLine) {
  WriteAxisText(canvas_, TAxisSide::Bottom, 100, 50, "", 0, 0);
  EXPECT_TRUE(canvas_.CallsStartingWith("Write").empty());
  EXPECT_EQ(canvas_.CallsStartingWith("SetTextAlignment").back(), "SetTextAlignment(0)");
  canvas_.Clear();
  WriteAxisText(canvas_, TAxisSide::Bottom, 100, 50, "a\r", 0, 0);
  EXPECT_EQ(canvas_.CallsStartingWith("Write"), (std::vector<std::string>{"WriteTextAtDepth(100,50,\"a\",0)"}));
}

}  // namespace
