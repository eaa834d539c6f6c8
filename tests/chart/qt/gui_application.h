// The Qt application object that text, the device's palette and chart widgets need in a
// test executable; created on first use and kept until the process ends.
#pragma once

void EnsureGuiApplication();
