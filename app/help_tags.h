#pragma once

// Shows or hides the help tags (tooltips) of the whole system through the
// system's help manager, looked up anew at every call. Raises
// FunctionNotFoundException when the system offers no such switch.
void SetSystemHelpTagsDisplayed(bool displayed);
