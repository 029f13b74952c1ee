// Filled in by its module.
