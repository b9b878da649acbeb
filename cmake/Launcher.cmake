# Helpers to build a launcher executable around a resource script.
