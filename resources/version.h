// The player's version, one for everything that names it: the version block of moviquel.rc,
// --version, and (CMake reads MQ_VERSION_TEXT for the project) the package, the manual page
// and the metainfo. The About box's text is separate (about_texts.h). Plain macros, because
// the resource compiler reads this file too.
#pragma once

#define MQ_VERSION_NUMBERS 1, 0, 0, 1
#define MQ_VERSION_TEXT "1.0.0.1"
// The version block's strings, as the resource compiler of the time wrote them.
#define MQ_VERSION_RESOURCE_TEXT "1, 0, 0, 1"
// The vendor as the version block names it, and the product; the screen saver keeps its
// settings under HKCU\Software\<vendor>\<product>.
#define MQ_COMPANY_TEXT "Moviquel Co"
#define MQ_PRODUCT_TEXT "Moviquel Player"
