// The live reading of the controls: whether an action's key or pad button is held or pressed
// now, and the game's controls of each player, read from and written to the settings.
// In game/, what the menus and the race both use; it includes no menu or race code.
#pragma once

#include "game/controls.h"

// The KeyState entry of a pad button for a player: the first pad's own code for player one,
// the same code moved up by SecondPadKeys for the second pad.
int PadKeyOf(int pad, int player);

// Whether an action's key or pad button is down now in KeyState (its keys where the layout in
// use puts them), and the same taking the press, so that it acts once.
bool ActionHeld(const Controls& controls, Action action);
bool TakeAction(const Controls& controls, Action action);

// The game's controls of both players, read from the settings at first use (problems said once
// on standard error); each is the other's partner. SaveBinding writes an action's two lines of a
// player.
Controls& GameControls(int player = 1);
void SaveBinding(Action action, int player = 1);
