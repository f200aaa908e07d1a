// What a person sees of a run, as GoogleTest expectations.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "harness.h"

namespace e2e {

// Nothing shown, exit code 0, and the recorder started once with command_line.
inline void expect_recorded(const Run& run, const std::string& command_line) {
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_TRUE(run.boxes.empty()) << "box: " << (run.boxes.empty() ? "" : run.boxes[0].text);
  EXPECT_EQ(run.handoffs, std::vector<std::string>{command_line});
}

// Nothing shown, exit code 0, and the target handed to the registered handler.
inline void expect_handed_over(const Run& run, const std::string& target) {
  expect_recorded(run, recorder_line(target));
}

// One message box with exactly this text, no caption, no owner and only an
// OK button; nothing handed over; exit code 0.
inline void expect_box(const Run& run, const std::string& text) {
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.exit_code, 0u);
  ASSERT_EQ(run.boxes.size(), 1u);
  const Box& box = run.boxes[0];
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.caption, "");
  EXPECT_FALSE(box.has_owner);
  EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
  EXPECT_TRUE(run.handoffs.empty());
}

// The failure box, shown while the hidden owner window of the hand-off exists.
inline void expect_refused(const Run& run, const std::string& error_text, const std::string& target) {
  expect_box(run, error_text + "\r\n\r" + target);
  if (run.boxes.empty()) return;
  ASSERT_EQ(run.boxes[0].owner_windows.size(), 1u);
  const OwnerWindow& owner = run.boxes[0].owner_windows[0];
  EXPECT_EQ(owner.title, "");
  EXPECT_FALSE(owner.visible);
  EXPECT_EQ(owner.style & (WS_POPUP | WS_VISIBLE | WS_CHILD), WS_POPUP);
  EXPECT_TRUE(owner.ex_style & WS_EX_TOOLWINDOW);
  EXPECT_EQ(owner.width, 0);
  EXPECT_EQ(owner.height, 0);
}

// "Error no URL defined", with no owner window created.
inline void expect_no_target(const Run& run) {
  expect_box(run, "Error no URL defined");
  if (!run.boxes.empty()) EXPECT_TRUE(run.boxes[0].owner_windows.empty());
}

}  // namespace e2e
