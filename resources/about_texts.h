// The texts of the About box, top to bottom: product caption, version, notice line. The
// Linux About dialog draws them and the Linux command line's --version prints the first
// two; resources/moviquel.rc spells the same texts for the Windows dialog.
#pragma once

#define MQ_ABOUT_PRODUCT_TEXT "Moviquel Player"
#define MQ_ABOUT_VERSION_TEXT "Version 0.90 beta"
#define MQ_ABOUT_NOTICE_TEXT "Copyright (C) 2026 Moviquel Co"
