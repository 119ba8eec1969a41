// What every change of the document ends with.
#pragma once

// Enables Save and puts the modified mark "*" into the title.
void markModified();
