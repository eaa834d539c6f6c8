// Replaced by the share list and console command modules.
