// Share enumeration's command-line face; the window logic fills the share list itself.
#pragma once

// "sharemon --list-shares": prints the share list, one name per line in UTF-8, exactly the
// entries ListBox1 would hold, and returns exit code 0. Needs no display.
int RunListShares(int argc, char* argv[]);
