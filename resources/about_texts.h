// The texts of the About box, top to bottom: product caption, version, notice line, for
// the Windows dialog (resources/moviquel.rc) and the Linux dialog; the Linux command line's
// --version prints the caption with the version number of version.h. Plain macros, because
// the resource compiler reads this file too.
#pragma once

#define MQ_ABOUT_PRODUCT_TEXT "Moviquel Player"
#define MQ_ABOUT_VERSION_TEXT "Version 0.90 beta"
#define MQ_ABOUT_NOTICE_TEXT "Copyright (C) 2026 Moviquel Co"
