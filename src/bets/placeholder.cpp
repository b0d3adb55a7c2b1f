// Placeholder until the first pending-bet file lands.
