// Ids of the resources embedded in moviquel.exe, shared by the resource script and the
// Win32 code. Plain macros, because the resource compiler reads this file too.
#pragma once

#define MQ_IDI_MAIN 101        /* the window's large and small icon */
#define MQ_IDM_MAIN 102        /* the menu bar (popup "&File") */
#define MQ_IDA_MAIN 103        /* the accelerator table */
#define MQ_IDD_ABOUT 103       /* the About dialog */
#define MQ_IDR_INFO_PICTURE 112  /* JPGDATA: the scrambled info picture */
#define MQ_IDR_MAIN_PICTURE 115  /* JPGDATA: the scrambled main picture */

/* The menu's and the accelerators' commands are in commands.h. */
#define MQ_CMD_ABOUT_WEB_PAGE 1004   /* the About dialog's button */

/* The screen saver's own resources (moviquel.scr). */
#define MQ_IDS_DESCRIPTION 1         /* the name in the Screen Saver Settings list */
#define MQ_IDD_SAVER_SETTINGS 104    /* the settings dialog */
#define MQ_IDC_OWN_PICTURES 1101     /* radio: the player's own pictures */
#define MQ_IDC_FOLDER_PICTURES 1102  /* radio: the photos of a folder */
#define MQ_IDC_FOLDER_PATH 1103      /* edit: that folder */
#define MQ_IDC_BROWSE 1104           /* button: choose the folder */
#define MQ_IDC_SHUFFLE 1105          /* check box: shuffle the photos */
#define MQ_IDC_FIT_COVER 1106        /* radio: fill the frame, cropping */
#define MQ_IDC_FIT_CONTAIN 1107      /* radio: the whole photo, with bars */
