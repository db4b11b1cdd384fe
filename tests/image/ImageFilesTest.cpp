// image files: filled below
