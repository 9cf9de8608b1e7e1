# Draws the sample appraisal company's logo as a PPM image (text form):
#   awk -f logo.awk > logo.ppm
# A dark blue plate with a white ring and a gold bar through it.
BEGIN {
    w = 300; h = 150
    print "P3"; print w, h; print 255
    for (y = 0; y < h; y++) {
        line = ""
        for (x = 0; x < w; x++) {
            r = 20; g = 50; b = 110
            d = sqrt((x - 75) ^ 2 + (y - 75) ^ 2)
            if (d >= 38 && d <= 50) { r = 255; g = 255; b = 255 }
            if (x >= 40 && x <= 270 && y >= 68 && y <= 82) { r = 230; g = 180; b = 40 }
            line = line sprintf("%d %d %d ", r, g, b)
        }
        print line
    }
}
