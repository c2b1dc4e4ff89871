#pragma once

// The program's resources, shared by the resource script and the windows that load them.
#define QUORVIN_ICON_PROGRAM 1
#define QUORVIN_ICON_CHAT 2
#define QUORVIN_ICON_CHAT_2X 3
#define QUORVIN_CURSOR_CHAT 4
