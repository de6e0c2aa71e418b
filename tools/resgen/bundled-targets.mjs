// Writes resources/lumetra.txt, the target file shipped with the saver:
// public, long-lived hosts of universities, research networks and public
// agencies across the lower 48, each placed on the map at its city through
// the same projection as the outline. Hosts are given by name only, so the
// saver resolves each one when it probes it.
// Run: npm --prefix tools/resgen ci && node tools/resgen/bundled-targets.mjs
import { LAND, rasterizeMap } from './map-raster.mjs';
import { resourcePath, writeOutput } from './paths.mjs';
import { toMapPixel } from './projection.mjs';

// Icon types: 1 server, 2 router (regional network), 3 campus,
// 4 backbone or exchange, 5 home, 6 satellite link, 7 data centre.
// [region, city, latitude, longitude, host, type, who]
const kTargets = [
    ['Northwest', 'Seattle, WA', 47.6553, -122.3035, 'www.washington.edu', 3, 'University of Washington'],
    ['Northwest', 'Portland, OR', 45.5118, -122.6844, 'www.pdx.edu', 3, 'Portland State University'],
    ['Northwest', 'Eugene, OR', 44.0448, -123.0726, 'www.uoregon.edu', 3, 'University of Oregon'],
    ['Northwest', 'Richland, WA', 46.3430, -119.2786, 'www.pnnl.gov', 7, 'Pacific Northwest National Laboratory'],
    ['Northwest', 'Pullman, WA', 46.7298, -117.1817, 'www.wsu.edu', 3, 'Washington State University'],
    ['Northwest', 'Boise, ID', 43.6027, -116.2010, 'www.boisestate.edu', 3, 'Boise State University'],
    ['California', 'Sacramento, CA', 38.5766, -121.4932, 'www.ca.gov', 1, 'State of California'],
    ['California', 'Stanford, CA', 37.4275, -122.1697, 'www.stanford.edu', 3, 'Stanford University'],
    ['California', 'Fresno, CA', 36.8123, -119.7462, 'www.fresnostate.edu', 3, 'California State University, Fresno'],
    ['California', 'Santa Barbara, CA', 34.4140, -119.8489, 'www.ucsb.edu', 3, 'University of California, Santa Barbara'],
    ['California', 'Pasadena, CA', 34.2013, -118.1714, 'www.jpl.nasa.gov', 6, 'Jet Propulsion Laboratory'],
    ['California', 'San Diego, CA', 32.8801, -117.2340, 'www.ucsd.edu', 3, 'University of California San Diego'],
    ['Southwest', 'Reno, NV', 39.5442, -119.8164, 'www.unr.edu', 3, 'University of Nevada, Reno'],
    ['Southwest', 'Las Vegas, NV', 36.1085, -115.1423, 'www.unlv.edu', 3, 'University of Nevada, Las Vegas'],
    ['Southwest', 'Flagstaff, AZ', 35.1894, -111.6513, 'www.nau.edu', 3, 'Northern Arizona University'],
    ['Southwest', 'Tempe, AZ', 33.4242, -111.9281, 'www.asu.edu', 3, 'Arizona State University'],
    ['Southwest', 'Tucson, AZ', 32.2319, -110.9501, 'www.arizona.edu', 3, 'University of Arizona'],
    ['Southwest', 'Albuquerque, NM', 35.0844, -106.6198, 'www.unm.edu', 3, 'University of New Mexico'],
    ['Mountain', 'Missoula, MT', 46.8600, -113.9852, 'www.umt.edu', 3, 'University of Montana'],
    ['Mountain', 'Bozeman, MT', 45.6670, -111.0546, 'www.montana.edu', 3, 'Montana State University'],
    ['Mountain', 'Idaho Falls, ID', 43.4917, -112.0339, 'www.inl.gov', 7, 'Idaho National Laboratory'],
    ['Mountain', 'Salt Lake City, UT', 40.7649, -111.8421, 'www.utah.edu', 3, 'University of Utah'],
    ['Mountain', 'Laramie, WY', 41.3149, -105.5666, 'www.uwyo.edu', 3, 'University of Wyoming'],
    ['Mountain', 'Boulder, CO', 40.0076, -105.2659, 'www.colorado.edu', 3, 'University of Colorado Boulder'],
    ['Plains', 'Grand Forks, ND', 47.9253, -97.0329, 'www.und.edu', 3, 'University of North Dakota'],
    ['Plains', 'Rapid City, SD', 44.0745, -103.2064, 'www.sdsmt.edu', 3, 'South Dakota School of Mines'],
    ['Plains', 'Lincoln, NE', 40.8202, -96.7005, 'www.unl.edu', 3, 'University of Nebraska-Lincoln'],
    ['Plains', 'Manhattan, KS', 39.1974, -96.5847, 'www.k-state.edu', 3, 'Kansas State University'],
    ['Plains', 'Kansas City, MO', 39.0997, -94.5786, 'www.gpn.org', 2, 'Great Plains Network'],
    ['Plains', 'Oklahoma City, OK', 35.4676, -97.5164, 'www.onenet.net', 2, 'OneNet, Oklahoma research network'],
    ['Plains', 'Tulsa, OK', 36.1540, -95.9928, 'www.utulsa.edu', 3, 'University of Tulsa'],
    ['Texas', 'Lubbock, TX', 33.5843, -101.8783, 'www.ttu.edu', 3, 'Texas Tech University'],
    ['Texas', 'El Paso, TX', 31.7705, -106.5049, 'www.utep.edu', 3, 'University of Texas at El Paso'],
    ['Texas', 'Dallas, TX', 32.9857, -96.7502, 'www.utdallas.edu', 3, 'University of Texas at Dallas'],
    ['Texas', 'Austin, TX', 30.2849, -97.7341, 'www.tacc.utexas.edu', 7, 'Texas Advanced Computing Center'],
    ['Texas', 'College Station, TX', 30.6187, -96.3365, 'www.tamu.edu', 3, 'Texas A&M University'],
    ['Texas', 'Houston, TX', 29.7174, -95.4018, 'www.rice.edu', 3, 'Rice University'],
    ['Midwest', 'Minneapolis, MN', 44.9740, -93.2277, 'www.umn.edu', 3, 'University of Minnesota'],
    ['Midwest', 'Ames, IA', 42.0267, -93.6465, 'www.iastate.edu', 3, 'Iowa State University'],
    ['Midwest', 'Madison, WI', 43.0707, -89.4068, 'www.ssec.wisc.edu', 6, 'Space Science and Engineering Center'],
    ['Midwest', 'Chicago, IL', 41.7886, -87.5987, 'www.uchicago.edu', 3, 'University of Chicago'],
    ['Midwest', 'Urbana, IL', 40.1020, -88.2272, 'www.ncsa.illinois.edu', 7, 'National Center for Supercomputing Applications'],
    ['Midwest', 'St. Louis, MO', 38.6488, -90.3108, 'www.wustl.edu', 3, 'Washington University in St. Louis'],
    ['Midwest', 'Columbia, MO', 38.9404, -92.3277, 'www.missouri.edu', 3, 'University of Missouri'],
    ['Midwest', 'Bloomington, IN', 39.1682, -86.5230, 'www.iu.edu', 3, 'Indiana University'],
    ['Midwest', 'Ann Arbor, MI', 42.2808, -83.7430, 'www.internet2.edu', 4, 'Internet2'],
    ['Midwest', 'Columbus, OH', 40.0067, -83.0305, 'www.osc.edu', 7, 'Ohio Supercomputer Center'],
    ['South', 'Fayetteville, AR', 36.0687, -94.1748, 'www.uark.edu', 3, 'University of Arkansas'],
    ['South', 'Baton Rouge, LA', 30.4133, -91.1800, 'www.loni.org', 2, 'Louisiana Optical Network'],
    ['South', 'Oxford, MS', 34.3650, -89.5380, 'www.olemiss.edu', 3, 'University of Mississippi'],
    ['South', 'Tuscaloosa, AL', 33.2140, -87.5391, 'www.ua.edu', 3, 'University of Alabama'],
    ['South', 'Nashville, TN', 36.1447, -86.8027, 'www.vanderbilt.edu', 3, 'Vanderbilt University'],
    ['South', 'Oak Ridge, TN', 36.0104, -84.2696, 'www.ornl.gov', 7, 'Oak Ridge National Laboratory'],
    ['South', 'Lexington, KY', 38.0307, -84.5040, 'www.uky.edu', 3, 'University of Kentucky'],
    ['Southeast', 'Atlanta, GA', 33.7756, -84.3963, 'www.gatech.edu', 3, 'Georgia Institute of Technology'],
    ['Southeast', 'Columbia, SC', 33.9940, -81.0300, 'www.sc.edu', 3, 'University of South Carolina'],
    ['Southeast', 'Charlotte, NC', 35.3071, -80.7352, 'www.charlotte.edu', 3, 'University of North Carolina at Charlotte'],
    ['Southeast', 'Durham, NC', 35.8992, -78.8636, 'www.mcnc.org', 2, 'MCNC, North Carolina research network'],
    ['Southeast', 'Blacksburg, VA', 37.2284, -80.4234, 'www.vt.edu', 3, 'Virginia Tech'],
    ['Southeast', 'Norfolk, VA', 36.8855, -76.3057, 'www.odu.edu', 3, 'Old Dominion University'],
    ['Florida', 'Tallahassee, FL', 30.4419, -84.2985, 'www.fsu.edu', 3, 'Florida State University'],
    ['Florida', 'Gainesville, FL', 29.6436, -82.3549, 'www.ufl.edu', 3, 'University of Florida'],
    ['Florida', 'Orlando, FL', 28.6024, -81.2001, 'www.ucf.edu', 3, 'University of Central Florida'],
    ['Florida', 'Miami, FL', 25.7215, -80.2793, 'www.miami.edu', 3, 'University of Miami'],
    ['Mid-Atlantic', 'Washington, DC', 38.8887, -77.0047, 'www.loc.gov', 1, 'Library of Congress'],
    ['Mid-Atlantic', 'Charlottesville, VA', 38.0336, -78.5080, 'www.virginia.edu', 3, 'University of Virginia'],
    ['Mid-Atlantic', 'Pittsburgh, PA', 40.4446, -79.9497, 'www.psc.edu', 7, 'Pittsburgh Supercomputing Center'],
    ['Mid-Atlantic', 'State College, PA', 40.7982, -77.8599, 'www.psu.edu', 3, 'Penn State University'],
    ['Mid-Atlantic', 'Philadelphia, PA', 39.9522, -75.1932, 'www.upenn.edu', 3, 'University of Pennsylvania'],
    ['Mid-Atlantic', 'New York, NY', 40.8075, -73.9626, 'www.columbia.edu', 3, 'Columbia University'],
    ['Mid-Atlantic', 'Ithaca, NY', 42.4534, -76.4735, 'www.cornell.edu', 3, 'Cornell University'],
    ['Mid-Atlantic', 'Albany, NY', 42.6526, -73.7562, 'www.ny.gov', 1, 'State of New York'],
    ['Mid-Atlantic', 'Buffalo, NY', 43.0008, -78.7890, 'www.buffalo.edu', 3, 'University at Buffalo'],
    ['New England', 'Cambridge, MA', 42.3601, -71.0942, 'www.mit.edu', 3, 'Massachusetts Institute of Technology'],
    ['New England', 'Burlington, VT', 44.4779, -73.1965, 'www.uvm.edu', 3, 'University of Vermont'],
    ['New England', 'Orono, ME', 44.9012, -68.6719, 'www.umaine.edu', 3, 'University of Maine'],
];

// Coastal campuses can fall a pixel into the water at this scale; such a
// position moves to the nearest land pixel, never further than this.
const kMaxNudge = 3;

function placeOnLand(grid, [fx, fy]) {
    const x0 = Math.floor(fx);
    const y0 = Math.floor(fy);
    let best = null;
    for (let dy = -kMaxNudge; dy <= kMaxNudge; dy++) {
        for (let dx = -kMaxNudge; dx <= kMaxNudge; dx++) {
            const d = Math.hypot(dx, dy);
            if (d > kMaxNudge || grid[y0 + dy]?.[x0 + dx] !== LAND) continue;
            if (!best || d < best.d) best = { x: x0 + dx, y: y0 + dy, d };
        }
    }
    if (!best) throw new Error(`no land within ${kMaxNudge} pixels of ${x0},${y0}`);
    return best;
}

const kHeader = [
    '; Lumetra target file: the hosts that the saver probes, one per line.',
    '; Seven fields separated by tabs:',
    ';   1 type      which icon stands for the host: 1 server, 2 router or regional',
    ';               network, 3 campus, 4 backbone or exchange, 5 home,',
    ';               6 satellite link, 7 data centre',
    ';   2 address   a dotted IPv4 address, or a word such as "name" to have the',
    ';               saver look the host name up each time it probes',
    ';   3 host      the host name that is probed and shown',
    ';   4 info      free text, stored only',
    ';   5 note      shown after the host name in the settings, or * for none',
    ';   6 x,y       position on the 516 x 310 map in pixels, 0,0 at the top left',
    ';   7 region    the saver shows the region USA',
    '; Lines starting with ; are comments. Empty fields are not allowed: two tabs',
    '; in a row count as one.',
    '',
];

const grid = rasterizeMap();
const lines = [...kHeader];
const regions = new Set();
for (const [region, city, lat, lon, host, type, who] of kTargets) {
    const spot = placeOnLand(grid, toMapPixel([lon, lat]));
    if (spot.d > 0) console.log(`${host}: moved ${spot.d.toFixed(1)} px onto land`);
    regions.add(region);
    lines.push([type, 'name', host, who, city, `${spot.x},${spot.y}`, 'USA'].join('\t'));
}
console.log(`${kTargets.length} targets in ${regions.size} regions: ${[...regions].join(', ')}`);
writeOutput(resourcePath('lumetra.txt'), Buffer.from(lines.join('\n') + '\n', 'latin1'));
