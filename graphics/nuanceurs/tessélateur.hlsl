// Bicubic Bezier patches tessellated on the GPU: each patch arrives as its 16 control points
// (row-major 4 × 4); the domain stage evaluates
//     P(u, v) = sum over r, c of B_r(v) * B_c(u) * P[4r + c]
// with the cubic Bernstein polynomials B, u along the columns and v along the rows.

cbuffer TransformConstants : register(b0)
{
    float4x4 world;
    float4x4 viewProjection;
};

// Register b1 is the colour for the pixel stage; for the hull stage the largest factor (x),
// the pixels a segment may span (y) and half the view's width and height in pixels (zw).
cbuffer StageConstants : register(b1)
{
    float4 stageValue;
};

struct ControlPoint
{
    float3 position : POSITION;
};

struct PatchFactors
{
    float edges[4] : SV_TessFactor;
    float inside[2] : SV_InsideTessFactor;
};

ControlPoint BezierVS(ControlPoint input)
{
    return input;
}

float4 ToClip(float3 p)
{
    return mul(mul(float4(p, 1.0), world), viewProjection);
}

// Pixels between two clip-space points on the screen.
float ScreenDistance(float4 a, float4 b)
{
    float2 d = (a.xy / a.w - b.xy / b.w) * stageValue.zw;
    return length(d);
}

// Segments for an edge whose control polygon (a bound on the curve's length) runs through
// a, b, c, d: one per stageValue.y pixels, at most stageValue.x. Neighbours sharing the edge
// compute the same factor from the same points, so their triangles meet without cracks.
float EdgeFactor(float4 a, float4 b, float4 c, float4 d)
{
    // Summed so that the edge run backwards (as its neighbour has it) gives the same bits.
    float pixels = (ScreenDistance(a, b) + ScreenDistance(c, d)) + ScreenDistance(b, c);
    return clamp(ceil(pixels / stageValue.y), 1.0, stageValue.x);
}

// Outside-plane bits of a clip-space point: -w <= x, y <= w and 0 <= z <= w.
uint Outside(float4 c)
{
    return (c.x < -c.w ? 1u : 0u) | (c.x > c.w ? 2u : 0u) | (c.y < -c.w ? 4u : 0u) |
           (c.y > c.w ? 8u : 0u) | (c.z < 0.0 ? 16u : 0u) | (c.z > c.w ? 32u : 0u);
}

PatchFactors ConstantFactors(InputPatch<ControlPoint, 16> patch, uint patchId : SV_PrimitiveID)
{
    float4 c[16];
    uint all = 63u;
    bool behind = false;
    [unroll] for (int k = 0; k < 16; ++k)
    {
        c[k] = ToClip(patch[k].position);
        all &= Outside(c[k]);
        behind = behind || c[k].w <= 1e-6;
    }
    PatchFactors factors;
    if (all != 0u)
    {
        // Every control point beyond one plane of the view: nothing of the patch is seen.
        factors.edges[0] = factors.edges[1] = factors.edges[2] = factors.edges[3] = 0.0;
        factors.inside[0] = factors.inside[1] = 0.0;
        return factors;
    }
    if (behind)
    {
        // A point at or behind the eye: its size on the screen is unbounded.
        float f = stageValue.x;
        factors.edges[0] = factors.edges[1] = factors.edges[2] = factors.edges[3] = f;
        factors.inside[0] = factors.inside[1] = f;
        return factors;
    }
    // Edges in the quad domain's order: u = 0, v = 0, u = 1, v = 1.
    factors.edges[0] = EdgeFactor(c[0], c[4], c[8], c[12]);
    factors.edges[1] = EdgeFactor(c[0], c[1], c[2], c[3]);
    factors.edges[2] = EdgeFactor(c[3], c[7], c[11], c[15]);
    factors.edges[3] = EdgeFactor(c[12], c[13], c[14], c[15]);
    factors.inside[0] = max(factors.edges[1], factors.edges[3]);
    factors.inside[1] = max(factors.edges[0], factors.edges[2]);
    return factors;
}

[domain("quad")]
[partitioning("integer")]
[outputtopology("triangle_cw")]
[outputcontrolpoints(16)]
[patchconstantfunc("ConstantFactors")]
ControlPoint HS(InputPatch<ControlPoint, 16> patch, uint i : SV_OutputControlPointID,
                uint patchId : SV_PrimitiveID)
{
    ControlPoint output;
    output.position = patch[i].position;
    return output;
}

float4 Bernstein(float t)
{
    float s = 1.0 - t;
    return float4(s * s * s, 3.0 * t * s * s, 3.0 * t * t * s, t * t * t);
}

// The shaded display's light: the direction the camera looks along (xyz); the zebra
// stripes: the unit direction the bands run across (xyz) and their number (w).
// The curvature display: which curvature (x: 1 mean, 0 Gaussian), the scale's low end (y)
// and one over its span (z).
cbuffer LightConstants : register(b2)
{
    float4 light;
    float4 stripes;
    float4 curvatureScale;
};

float4 BernsteinDerivative(float t)
{
    float s = 1.0 - t;
    return float4(-3.0 * s * s, 3.0 * s * s - 6.0 * t * s, 6.0 * t * s - 3.0 * t * t, 3.0 * t * t);
}

float4 BernsteinSecond(float t)
{
    return float4(6.0 - 6.0 * t, 18.0 * t - 12.0, 6.0 - 18.0 * t, 6.0 * t);
}

struct SurfacePoint
{
    float4 position : SV_POSITION;
    float shade : TEXCOORD0;
    float3 normal : TEXCOORD1; // of any length; none at a collapsed edge
    float share : TEXCOORD2;   // the curvature's place on the curvature display's scale
};

[domain("quad")]
SurfacePoint main(PatchFactors factors, float2 uv : SV_DomainLocation,
                  const OutputPatch<ControlPoint, 16> patch)
{
    float4 bu = Bernstein(uv.x);
    float4 bv = Bernstein(uv.y);
    float4 du = BernsteinDerivative(uv.x);
    float4 dv = BernsteinDerivative(uv.y);
    float4 ddu = BernsteinSecond(uv.x);
    float4 ddv = BernsteinSecond(uv.y);
    float3 p = float3(0.0, 0.0, 0.0);
    float3 alongU = float3(0.0, 0.0, 0.0);
    float3 alongV = float3(0.0, 0.0, 0.0);
    float3 uu = float3(0.0, 0.0, 0.0);
    float3 uv2 = float3(0.0, 0.0, 0.0);
    float3 vv = float3(0.0, 0.0, 0.0);
    [unroll] for (int r = 0; r < 4; ++r)
    {
        float3 row = bu.x * patch[4 * r].position + bu.y * patch[4 * r + 1].position +
                     bu.z * patch[4 * r + 2].position + bu.w * patch[4 * r + 3].position;
        float3 rowSlope = du.x * patch[4 * r].position + du.y * patch[4 * r + 1].position +
                          du.z * patch[4 * r + 2].position + du.w * patch[4 * r + 3].position;
        float3 rowBend = ddu.x * patch[4 * r].position + ddu.y * patch[4 * r + 1].position +
                         ddu.z * patch[4 * r + 2].position + ddu.w * patch[4 * r + 3].position;
        p += bv[r] * row;
        alongU += bv[r] * rowSlope;
        alongV += dv[r] * row;
        uu += bv[r] * rowBend;
        uv2 += dv[r] * rowSlope;
        vv += ddv[r] * row;
    }
    SurfacePoint output;
    output.position = mul(mul(float4(p, 1.0), world), viewProjection);
    // The normal from the derivatives, as the program's own evaluation has it; a collapsed
    // edge (no normal) is lit fully.
    float3 n = mul(float4(cross(alongU, alongV), 0.0), world).xyz;
    float lengthSquared = dot(n, n);
    output.normal = n;
    output.shade = lengthSquared > 1e-20 ? 0.25 + 0.75 * abs(dot(n, light.xyz)) * rsqrt(lengthSquared)
                                         : 1.0;
    // Gaussian and mean curvature from the fundamental forms, in the model's own space (a
    // mirrored copy shows the same colours); none where the tangents give no plane.
    float3 m = cross(alongU, alongV);
    float e = dot(alongU, alongU), f = dot(alongU, alongV), g = dot(alongV, alongV);
    float determinant = e * g - f * f;
    float value = 0.0;
    if (determinant > 1e-10 * e * g)
    {
        float3 unit = m * rsqrt(dot(m, m));
        float l = dot(uu, unit), mm = dot(uv2, unit), nn = dot(vv, unit);
        value = curvatureScale.x > 0.5 ? (e * nn - 2.0 * f * mm + g * l) / (2.0 * determinant)
                                       : (l * nn - mm * mm) / determinant;
    }
    output.share = (value - curvatureScale.y) * curvatureScale.z;
    return output;
}

float4 BezierPS(SurfacePoint input) : SV_TARGET
{
    return stageValue;
}

float4 BezierShadedPS(SurfacePoint input) : SV_TARGET
{
    return float4(stageValue.rgb * input.shade, stageValue.a);
}

// Zebra stripes from the exact normal at each pixel (as debug.shader's ZebraPS draws the
// program's own triangles).
float4 BezierZebraPS(SurfacePoint input) : SV_TARGET
{
    float lengthSquared = dot(input.normal, input.normal);
    if (lengthSquared < 1e-20)
        return stageValue;
    float3 n = input.normal * rsqrt(lengthSquared);
    float3 reflected = light.xyz - 2.0 * dot(light.xyz, n) * n;
    float phase = stripes.w * dot(reflected, stripes.xyz);
    float wave = abs(2.0 * (phase - floor(phase)) - 1.0);
    float band = saturate((wave - 0.5) * 8.0 + 0.5);
    return float4(stageValue.rgb * (0.125 + 0.875 * band), stageValue.a);
}

// The curvature display (as debug.shader's CurvaturePS colours the program's own triangles).
float4 BezierCurvaturePS(SurfacePoint input) : SV_TARGET
{
    float share = saturate(input.share);
    float red = saturate(2.0 * share - 1.0);
    float blue = saturate(1.0 - 2.0 * share);
    float3 shown = float3(red, 1.0 - red - blue, blue);
    return float4(shown * (0.4 + 0.6 * (input.shade - 0.25) / 0.75), stageValue.a);
}
