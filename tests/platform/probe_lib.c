/* A library that says which copy of it was loaded. */
int ProbeWhich(void) { return PROBE_WHICH; }
