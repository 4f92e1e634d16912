// Filled in by the sample generator.
