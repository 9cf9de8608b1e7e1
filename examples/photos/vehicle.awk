# Draws a plain picture of a sedan as a PPM image (text form), for the sample
# evaluation's photos:  awk -v body="200 30 30" -v view=side -f vehicle.awk > photo.ppm
# view "side" shows the whole car, "front" a closer, lower view.
function inside_circle(x, y, cx, cy, r) { return (x - cx) ^ 2 + (y - cy) ^ 2 <= r ^ 2 }
BEGIN {
    w = 640; h = 400
    split(body, b, " ")
    scale = (view == "front") ? 1.3 : 1.0
    print "P3"; print w, h; print 255
    for (y = 0; y < h; y++) {
        line = ""
        for (x = 0; x < w; x++) {
            # the car is drawn in its own coordinates, centred and scaled per view
            cx = (x - w / 2) / scale + 320; cy = (y - h) / scale + 400
            if (y < h * 0.62) { r = 120 + y / 5; g = 170 + y / 8; bl = 235 }     # sky
            else { r = 95; g = 110; bl = 90 }                                   # ground
            if (cx >= 120 && cx <= 520 && cy >= 215 && cy <= 300) { r = b[1]; g = b[2]; bl = b[3] }
            top = 150; slope = (cy - top)
            if (cy >= top && cy < 215 && cx >= 210 - slope && cx <= 430 + slope) {
                r = b[1]; g = b[2]; bl = b[3]
                if (cy > top + 10 && cx >= 222 - slope && cx <= 418 + slope && (cx < 315 || cx > 325)) { r = 170; g = 205; bl = 225 }
            }
            if (cx >= 505 && cx <= 520 && cy >= 228 && cy <= 245) { r = 250; g = 240; bl = 180 }   # lamp
            if (inside_circle(cx, cy, 200, 300, 42) || inside_circle(cx, cy, 440, 300, 42)) { r = 30; g = 30; bl = 30 }
            if (inside_circle(cx, cy, 200, 300, 18) || inside_circle(cx, cy, 440, 300, 18)) { r = 170; g = 170; bl = 170 }
            line = line sprintf("%d %d %d ", r, g, bl)
        }
        print line
    }
}
