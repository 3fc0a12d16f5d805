#pragma once

class QString;

// True when a file (not a folder) exists at path.
bool FileExists(const QString& path);
