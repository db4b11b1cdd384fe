#pragma once
// Settings of the user's locale that the format settings do not carry.
namespace plat {

// The user's system of measurement: metric, or the United States' inches and letter paper.
enum TMeasurementSystem { msMetric, msUnitedStates };

// Taken from the environment's measurement locale (LC_ALL, LC_MEASUREMENT, LANG) on first use;
// metric when the locale does not say otherwise.
TMeasurementSystem UserMeasurementSystem();
// Replaces the setting for the rest of the process (tests fix it to metric).
void SetUserMeasurementSystem(TMeasurementSystem Value);

} // namespace plat
