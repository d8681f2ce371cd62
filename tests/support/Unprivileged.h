#pragma once

#include <QString>

// Cases about permissions (a read-only folder, an unreadable file) mean nothing to root, who
// may write and read anything. Run as root, such a case runs itself again as an unprivileged
// user, in a child process started with setpriv, and passes when the child passes:
//
//     void Test::readOnlyFolder() {
//         if (Unprivileged::rerunIfRoot())
//             return;
//         ... the case itself ...
//     }
namespace Unprivileged {

// False when this process is not root: the caller runs the case itself. Otherwise runs the
// current test function (and data row) in a copy of this test program as user and group
// 65534 and reports a failure of the child as this test's failure; returns true.
bool rerunIfRoot();

} // namespace Unprivileged
