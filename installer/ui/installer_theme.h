#pragma once
// The installer's look on top of the toolkit's default theme.

namespace installer::ui {

// Replaces the application's whole theme override map with the installer's entries.
void apply_installer_theme();

}  // namespace installer::ui
