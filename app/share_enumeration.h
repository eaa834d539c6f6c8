// Share enumeration for the window: fills the share list (ListBox1) with the local
// computer's shares when the window is shown, and prints it for the command line.
#pragma once

class TListBox;

// Replaces the entries of target by the computer's shares in the system's order; every
// failure leaves it empty and reports nothing.
void EnumerateShares(TListBox& target);

// "sharemon --list-shares": prints the share list, one name per line in UTF-8, exactly the
// entries ListBox1 would hold, and returns exit code 0. Needs no display.
int RunListShares(int argc, char* argv[]);
