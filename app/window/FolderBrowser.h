#pragma once
// The folder chooser of the settings page.
#include <QString>
#include <string>

class QWidget;

namespace quillaby {

// Lets the user choose a folder (folders only, nothing preselected); true
// with its path, false when the user cancelled.
bool BrowseForFolder(QWidget* owner, const QString& title, std::string& folder);

}  // namespace quillaby
