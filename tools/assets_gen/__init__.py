"""Drawing and synthesis of the game's pictures and sounds (used by tools/make_assets.py)."""
