// The translation unit that compiles this folder's precompiled headers; it defines nothing.
