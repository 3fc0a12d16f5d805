#pragma once

class QByteArray;
class QString;

// A freedesktop launcher file for the viewer.
class DesktopEntry {
  public:
    // The launcher text: Type=Application, Name, a quoted Exec of the program without field
    // codes (any argument would put the viewer into installer mode), Path and Icon.
    static QByteArray launcher(const QString& name, const QString& program,
                               const QString& workingFolder, const QString& icon);

    // Escapes a value of type string: backslash, line ends, tabs, and a leading blank.
    static QString escapeValue(const QString& value);
    // One argument of an Exec line in double quotes, with "%" doubled so it is never read as
    // a field code. The result still needs escapeValue().
    static QString quoteExecArgument(const QString& argument);
};
