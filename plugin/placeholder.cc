// Placeholder until this folder's sources land.
