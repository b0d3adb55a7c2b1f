// Placeholder until the first step lands.
