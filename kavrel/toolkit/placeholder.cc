// Placeholder until this library's sources land.
