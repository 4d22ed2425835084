#pragma once
// The main window's "Template" button and dive-settings command: the settings dialog
// (settings/frmProperties) opened modeless on the active dive, or on the default template
// when no dive is open.

// Opens the dialog and applies the active dive's record to its window again.
void ShowPropertiesForActiveProfile();
