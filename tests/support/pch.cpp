// Compiled only to make the precompiled header that the tests share.
