#pragma once

#include <QString>

#include <vector>

class SkinFolderClient;

// Hands a new skin folder to a set of windows so that they end up alike:
// every window's file is loaded aside first, and when one would fail no
// window changes; should a window still fail while switching (its file
// changed in between), the windows already switched go back to their
// folders. Either way the error names the file and the reason and is thrown
// as ESkinError for the general error report. GUI thread only.
void switchSkinFolder(const std::vector<SkinFolderClient*>& clients, const QString& folder);

// The folder a confirmed "PlayerA.ini" choice stands for: the chosen path
// without its last 11 characters, ending with the path separator.
QString skinFolderFromDefinitionFile(const QString& chosenPath);
