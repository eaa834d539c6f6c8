// Replaced by the chart engine modules.
