#pragma once
// The main window's "Template" button and dive-settings command: the settings dialog
// (settings/frmProperties) opened modeless on the active dive, or on the default template
// when no dive is open.

// Opens the dialog, with the keyboard in it. The dive is computed again by its OK only.
void ShowPropertiesForActiveProfile();
