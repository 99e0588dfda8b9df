// module scene2d
