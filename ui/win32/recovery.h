// The recovery copy of the document, "recovery.obj" beside session.ini: written at most
// every 30 s while there are unsaved changes, at once when the device is lost, a fatal
// error ends the program or Windows ends the session; removed by Save, by giving the
// changes up and by a clean exit; offered at the next start when one is left behind.
#pragma once

#include <string>

std::string recoveryCopyPath();
// Once per frame: starts a copy when one is due (the copy is written off this thread).
void autosaveTick(double nowSeconds);
// Writes the copy now when there are unsaved changes (waits for one under way).
void writeRecoveryCopyNow();
// The document was saved or its changes given up: no copy is needed any more.
void discardRecoveryCopy();
// End of start-up: a copy left behind is offered ("Recover the unsaved changes of <name>
// from <time>?"); taken, it becomes the document, modified, under its original path.
void offerRecoveryCopy();
