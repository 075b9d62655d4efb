// The player's commands in one table: their ids, the File menu and the accelerators. The
// resource script expands it into its MENU and ACCELERATORS, the window procedure into its
// command ids, and the backends without a real Windows into their drawn menus and key
// translation. Plain preprocessor macros, because the resource compiler reads this file too.
#pragma once

// One command: X(name, id, menu text). The id is WM_COMMAND's first parameter; in the menu
// text "\t" separates the shortcut shown at the right and "&" marks the mnemonic.
#define MQ_COMMAND_ABOUT(X) X(About, 1000, "About M.Q.L. Player")
#define MQ_COMMAND_WEB_PAGE(X) X(WebPage, 40002, "Moviquels on the WEB")
#define MQ_COMMAND_TOGGLE_FULL_SCREEN(X) X(ToggleFullScreen, 1002, "Toggle Full-Screen\tAlt+Enter")
#define MQ_COMMAND_EXIT(X) X(Exit, 1001, "E&xit\tAlt+X")

// The menu bar's only popup and its commands in order, each between two separators.
#define MQ_FILE_MENU_TITLE "&File"
#define MQ_FILE_MENU(X) \
  MQ_COMMAND_ABOUT(X) MQ_COMMAND_WEB_PAGE(X) MQ_COMMAND_TOGGLE_FULL_SCREEN(X) MQ_COMMAND_EXIT(X)

// The main window's accelerator table in order: A(virtual-key code, modifiers, command),
// with the modifiers NONE or ALT; a key matches only with exactly its modifiers.
#define MQ_ACCELERATORS(A)                                \
  A(0x1B /* Esc */, NONE, MQ_COMMAND_EXIT)                \
  A(0x0D /* Enter */, ALT, MQ_COMMAND_TOGGLE_FULL_SCREEN) \
  A(0x58 /* X */, ALT, MQ_COMMAND_EXIT)

// The id of a command: MQ_COMMAND_ID(MQ_COMMAND_EXIT) is Exit's.
#define MQ_COMMAND_ID_OF(name, id, text) id
#define MQ_COMMAND_ID(command) command(MQ_COMMAND_ID_OF)
