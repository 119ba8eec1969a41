// The planet. VS places the planet's vertices (the sphere mesh and the impostor quad) and
// passes their texture coordinates on. PS draws the impostor: a lit, textured sphere on the
// camera-facing quad, whose texture coordinates run −1..1 across the silhouette disc.
//
// Written for Microsoft's compiler and for the simpler one Wine uses: no loops, no functions or
// macros with arguments, no ternary operator, and sqrt, asin and atan2 spelt out.

cbuffer TransformConstants : register(b0)
{
    float4x4 world;
    float4x4 viewProjection;
};

cbuffer PlanetConstants : register(b0)
{
    float4x4 rotation; // the impostor's axes as rows: x and y across the disc, z away from the viewer
    float4x4 unused;
    float silhouetteRadius;
    float distance;
};

Texture2D planetTexture : register(t0);
SamplerState planetSampler : register(s0);

struct PlanetVertex
{
    float4 position : SV_POSITION;
    float2 uv : TEXCOORD0;
};

PlanetVertex VS(float3 position : POSITION, float2 uv : TEXCOORD)
{
    PlanetVertex output;
    float4 placed = mul(float4(position, 1.0), world);
    output.position = mul(placed, viewProjection);
    output.uv = uv;
    return output;
}

#define PI 3.14159265

float4 PS(PlanetVertex input) : SV_TARGET
{
    float2 p = input.uv;
    float rr = dot(p, p);
    float inside = saturate((1.0 - rr) * 400.0);

    // The visible hemisphere faces the viewer, against the impostor's z axis.
    float3 local = float3(p.x, p.y, -pow(max(1.0 - rr, 0.0), 0.5));
    float3 n = normalize(mul(float4(local, 0.0), rotation).xyz);

    // asin by Abramowitz & Stegun 4.4.45 on |y|, the sign put back.
    float ay = abs(n.y);
    float asinPoly = 1.5707288 + ay * (-0.2121144 + ay * (0.0742610 - 0.0187293 * ay));
    float latitude = (1.0 - 2.0 * (float)(n.y < 0.0)) * (PI / 2 - pow(max(1.0 - ay, 0.0), 0.5) * asinPoly);

    float ax = abs(n.x);
    float az = abs(n.z);
    // atan2(z, x): atan on 0..1 by a polynomial, then the octant put back.
    float t = min(ax, az) / max(max(ax, az), 1e-20);
    float t2 = t * t;
    float angle = t * (0.9998660 + t2 * (-0.3302995 + t2 * (0.1801410 + t2 * (-0.0851330 + 0.0208351 * t2))));
    angle = lerp(angle, PI / 2 - angle, (float)(az > ax));
    angle = lerp(angle, PI - angle, (float)(n.x < 0.0));
    float longitude = (1.0 - 2.0 * (float)(n.z < 0.0)) * angle;

    float2 uv = float2(0.5 - longitude / (2.0 * PI), 0.5 - latitude / PI);
    float4 ground = planetTexture.Sample(planetSampler, uv);

    float3 sun = normalize(float3(0.6, 0.45, -0.65));
    float light = 0.12 + 0.88 * saturate(dot(n, sun));
    // A thin blue rim where the atmosphere is seen edge-on.
    float rim = saturate((rr - 0.86) * 7.0) * 0.5;
    float3 colour = ground.rgb * light + float3(0.25, 0.45, 1.0) * rim * light;
    return float4(colour * inside, 1.0);
}
