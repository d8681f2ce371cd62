#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>
#include <QString>

// Options the settings file holds after its first record, by name: one record of two quoted
// fields each, "Name","Value", on its own line ending in CR LF. Names this version does not
// know are kept and written back, so a file that a later version wrote loses nothing here.
using NamedOptions = QMap<QString, QString>;

namespace NamedOptionRecords {

// The named options in the lines after the first one. A line that is not exactly one such
// record (a blank line, a third field, a quote inside a field) is left out.
NamedOptions parse(QByteArrayView bytes);

// The records for `options` in name order, each ending in CR LF; nothing for no options. An
// option whose name or value the record syntax or code page 932 cannot hold is left out.
QByteArray encode(const NamedOptions& options);

} // namespace NamedOptionRecords
