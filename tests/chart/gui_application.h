// The Qt application object that text measuring and glyph drawing need in a test
// executable; created on first use and kept until the process ends.
#pragma once

void EnsureGuiApplication();
