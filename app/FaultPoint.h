#pragma once
// Places where the fault tests stop a running install so that they can kill
// it there. Only the test tree has them (TVS_FAULT_POINTS); in the shipped
// program the calls compile to nothing.
//
// TVS_FAULT_STOP="<kind>:<n>" in the environment stops the process at the
// n-th passage of that kind: it sets the event named by kFaultStoppedEvent,
// if the test created it, and waits there until it is killed. Kinds:
// "tick" (a progress tick, inside a member), "file" (after a file was
// installed and logged, before the next), "log" (a file placed, its log
// line not yet written), "state" (every file done, before the log state).

constexpr const char* kFaultStoppedEvent = "TvsFaultStopped";

#ifdef TVS_FAULT_POINTS
void FaultPoint(const char* kind);
#else
inline void FaultPoint(const char*) {}
#endif
