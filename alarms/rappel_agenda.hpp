#pragma once
// The hourly agenda reminder: which line of the day page is the current one,
// and when a new hour of the agenda begins.
#include "plateforme/horloge.hpp"

namespace quorvel {

// Line 1..13 ("08h00".."20h00") drawn in the current action colour at this hour
// (0..23): line 1 until 8 o'clock, line 13 from 20 o'clock on.
int creneau_courant(int heure);

// An hour of a date as one number (hours since 1 January 1970, local time), so
// that the same hour of another day is another hour.
int numero_heure(const Instant& t);

// Called at each reminder check with the clock. When an hour of the agenda
// (8..20) begins that is not derniere_heure (a numero_heure), derniere_heure
// takes it and the line of that hour (1..13) is returned; otherwise 0. Hours
// outside 8..20 leave derniere_heure as it is, so the first hour of the
// morning still rings after a night, and a machine resumed the next day within
// the hour it last rang rings again.
int nouvelle_heure_agenda(const Instant& t, int& derniere_heure);

} // namespace quorvel
