// Replaced by the main window modules.
